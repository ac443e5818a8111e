#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace vorlix::test {

// A fresh VORLIX_ROOT for one test, removed afterwards. Folders are world-readable so that a
// child running as another user can reach what the test means it to reach.
class TempRoot {
 public:
  TempRoot() {
    char pattern[] = "/tmp/vorlix-test-XXXXXX";
    path_ = ::mkdtemp(pattern);
    std::filesystem::permissions(path_, std::filesystem::perms(0755));
    ::setenv("VORLIX_ROOT", path_.c_str(), 1);
  }
  ~TempRoot() {
    ::unsetenv("VORLIX_ROOT");
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempRoot(const TempRoot&) = delete;
  TempRoot& operator=(const TempRoot&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path Registry() const { return path_ / "registry"; }

 private:
  std::filesystem::path path_;
};

}  // namespace vorlix::test
