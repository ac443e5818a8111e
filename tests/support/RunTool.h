#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vorlix::test {

struct ToolResult {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

// Runs a shell command line and collects what it printed.
inline ToolResult RunTool(const std::string& commandLine) {
  ToolResult result;
  FILE* pipe = ::popen((commandLine + " 2>&1 </dev/null").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

}  // namespace vorlix::test
