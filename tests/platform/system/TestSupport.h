#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <string_view>

namespace vorlix::platform::test {

// A fresh folder under the temp folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// The test child program and a command line that runs it with args.
std::string TestChildPath();
std::string TestChildCommand(std::string_view args);

// Everything fd delivers until its writer is gone.
std::string ReadToEnd(int fd);

// Descriptors of this process without close-on-exec.
std::set<int> InheritableFds();

// The descriptors a child spawned now has open, not counting the one it reports them on.
std::set<int> FdsSeenByChild();

}  // namespace vorlix::platform::test
