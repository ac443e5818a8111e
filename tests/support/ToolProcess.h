#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <string>

extern char** environ;

namespace vorlix::test {

// A command line run by the shell in the background, its standard output read line by line
// (standard error is left to the test's own). Ended with SIGTERM when it goes.
class ToolProcess {
 public:
  explicit ToolProcess(const std::string& commandLine) {
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    // exec makes the shell the tool, so that SIGTERM reaches the tool itself.
    const std::string exec = "exec " + commandLine;
    const char* argv[] = {"/bin/sh", "-c", exec.c_str(), nullptr};
    if (::posix_spawn(&pid_, "/bin/sh", &actions, nullptr, const_cast<char**>(argv), environ) !=
        0) {
      pid_ = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    output_ = pipeEnds[0];
  }
  ~ToolProcess() {
    Stop();
    if (output_ >= 0) ::close(output_);
  }
  ToolProcess(const ToolProcess&) = delete;
  ToolProcess& operator=(const ToolProcess&) = delete;

  // The next line of its output, without the line feed; nothing when none came in time.
  std::optional<std::string> ReadLine(std::chrono::milliseconds within) {
    const auto deadline = std::chrono::steady_clock::now() + within;
    for (;;) {
      if (const size_t end = buffer_.find('\n'); end != std::string::npos) {
        std::string line = buffer_.substr(0, end);
        buffer_.erase(0, end + 1);
        return line;
      }
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          deadline - std::chrono::steady_clock::now());
      pollfd ready{output_, POLLIN, 0};
      if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
        return std::nullopt;
      }
      char chunk[512];
      const ssize_t n = ::read(output_, chunk, sizeof chunk);
      if (n <= 0) return std::nullopt;
      buffer_.append(chunk, static_cast<size_t>(n));
    }
  }

  // Ends it (SIGTERM) and waits; its exit code, or -1.
  int Stop() {
    if (pid_ <= 0) return exitCode_;
    ::kill(pid_, SIGTERM);
    return Wait();
  }
  int Wait() {
    int status = 0;
    if (pid_ > 0 && ::waitpid(pid_, &status, 0) == pid_) {
      exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    pid_ = -1;
    return exitCode_;
  }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
  int exitCode_ = -1;
  std::string buffer_;
};

}  // namespace vorlix::test
