#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "common/ResultCodes.h"
#include "platform/system/NamedMutex.h"
#include "platform/system/Pipe.h"
#include "tests/platform/system/TestSupport.h"

namespace vorlix::platform {
namespace {

constexpr const char* kName = "Global\\VorlixMutex";

// Machine state in a folder of its own that does not exist yet.
class NamedMutexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* old = std::getenv("VORLIX_ROOT")) previousRoot_ = old;
    UseRoot(machine_);
  }
  void TearDown() override {
    if (previousRoot_) {
      ::setenv("VORLIX_ROOT", previousRoot_->c_str(), 1);
    } else {
      ::unsetenv("VORLIX_ROOT");
    }
  }
  void UseRoot(const std::filesystem::path& root) { ::setenv("VORLIX_ROOT", root.c_str(), 1); }

  test::TempDir dir_;
  const std::filesystem::path machine_ = dir_.Path() / "machine";

 private:
  std::optional<std::string> previousRoot_;
};

// Forks a process that takes the mutex and then holds it until killed.
pid_t StartHolder(uint32_t& result) {
  Handle readyRead, readyWrite;
  EXPECT_EQ(CreatePipe(false, readyRead, readyWrite), 0u);
  const pid_t pid = ::fork();
  if (pid == 0) {
    const NamedMutex mutex = NamedMutex::Create(kName);
    const uint32_t created = mutex.Result();
    size_t written = 0;
    WriteWhole(readyWrite.Get(), &created, sizeof created, written);
    for (;;) ::pause();
  }
  readyWrite.Reset();
  size_t read = 0;
  EXPECT_EQ(ReadWhole(readyRead.Get(), &result, sizeof result, read), 0u);
  return pid;
}

TEST_F(NamedMutexTest, OthersAreToldItExistsUntilTheHolderIsKilled) {
  uint32_t holderResult = ~0u;
  const pid_t holder = StartHolder(holderResult);
  ASSERT_GT(holder, 0);
  EXPECT_EQ(holderResult, 0u);

  NamedMutex second = NamedMutex::Create(kName);
  EXPECT_EQ(second.Result(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(second.IsHeld());

  ::kill(holder, SIGKILL);
  ASSERT_EQ(::waitpid(holder, nullptr, 0), holder);
  NamedMutex third = NamedMutex::Create(kName);
  EXPECT_EQ(third.Result(), 0u);
  EXPECT_TRUE(third.IsHeld());
}

TEST_F(NamedMutexTest, HeldUntilTheObjectIsDestroyed) {
  std::optional<NamedMutex> first = NamedMutex::Create(kName);
  ASSERT_EQ(first->Result(), 0u);
  EXPECT_EQ(NamedMutex::Create(kName).Result(), ERROR_ALREADY_EXISTS);
  first.reset();
  EXPECT_EQ(NamedMutex::Create(kName).Result(), 0u);
}

TEST_F(NamedMutexTest, EveryNameIsAMutexOfItsOwnInsideTheRuntimeFolder) {
  const NamedMutex held = NamedMutex::Create(kName);
  ASSERT_EQ(held.Result(), 0u);
  const char* others[] = {"Global/VorlixMutex",  "Global_VorlixMutex", "Global%5CVorlixMutex",
                          "global\\VorlixMutex", "../VorlixMutex",     ""};
  for (const char* other : others) {
    EXPECT_EQ(NamedMutex::Create(other).Result(), 0u) << other;
  }
  size_t lockFiles = 0;
  for (const auto& entry : std::filesystem::directory_iterator(machine_ / "run")) {
    EXPECT_TRUE(entry.is_regular_file()) << entry.path();
    ++lockFiles;
  }
  EXPECT_EQ(lockFiles, std::size(others) + 1);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(machine_), {}), 1);
}

TEST_F(NamedMutexTest, FolderThatCannotBeMadeIsAFailure) {
  const std::filesystem::path file = dir_.Path() / "file";
  std::ofstream(file) << "not a folder";
  UseRoot(file);
  const NamedMutex mutex = NamedMutex::Create(kName);
  EXPECT_NE(mutex.Result(), 0u);
  EXPECT_NE(mutex.Result(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(mutex.IsHeld());
}

TEST_F(NamedMutexTest, ChildProcessesDoNotInheritIt) {
  const std::set<int> before = test::InheritableFds();
  const NamedMutex held = NamedMutex::Create(kName);
  ASSERT_EQ(held.Result(), 0u);
  EXPECT_EQ(test::FdsSeenByChild(), before);
}

}  // namespace
}  // namespace vorlix::platform
