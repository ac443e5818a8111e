#pragma once

#include <fstream>
#include <string>
#include <vector>

namespace vorlix::test {

// The lines of a text file; none when it is missing.
inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace vorlix::test
