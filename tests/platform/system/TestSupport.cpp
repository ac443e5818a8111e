#include "tests/platform/system/TestSupport.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <system_error>

#include <gtest/gtest.h>

#include "platform/system/Pipe.h"
#include "platform/system/Process.h"

namespace vorlix::platform::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vorlix-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::system_error(errno, std::generic_category());
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TestChildPath() { return VORLIX_TEST_CHILD; }

std::string TestChildCommand(std::string_view args) {
  return "\"" + TestChildPath() + "\" " + std::string(args);
}

std::string ReadToEnd(int fd) {
  std::string text;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<size_t>(n));
  return text;
}

std::set<int> InheritableFds() {
  std::set<int> fds;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
    const int fd = std::stoi(entry.path().filename().string());
    const int flags = ::fcntl(fd, F_GETFD);
    if (flags >= 0 && !(flags & FD_CLOEXEC)) fds.insert(fd);
  }
  return fds;
}

std::set<int> FdsSeenByChild() {
  // Only the end the child writes to is inheritable.
  Handle reportRead, reportEnd, reportWrite;
  if (CreatePipe(false, reportRead, reportEnd) != 0 ||
      DuplicateHandle(reportEnd, true, reportWrite) != 0) {
    ADD_FAILURE() << "no report pipe";
    return {};
  }
  reportEnd.Reset();
  Process child;
  const int reportFd = reportWrite.Get();
  const uint32_t spawned =
      Process::Spawn(TestChildPath(), TestChildCommand("listfds " + std::to_string(reportFd)),
                     PriorityClass::Normal, child);
  reportWrite.Reset();
  if (spawned != 0) {
    ADD_FAILURE() << "spawn failed with " << spawned;
    return {};
  }
  std::istringstream report(ReadToEnd(reportRead.Get()));
  EXPECT_EQ(child.Wait(kInfinite), 0u);
  std::set<int> fds;
  for (int fd; report >> fd;) {
    if (fd != reportFd) fds.insert(fd);
  }
  return fds;
}

}  // namespace vorlix::platform::test
