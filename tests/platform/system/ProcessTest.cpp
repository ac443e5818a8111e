#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/system/Pipe.h"
#include "platform/system/Process.h"
#include "tests/platform/system/TestSupport.h"

namespace vorlix::platform {
namespace {

using test::TestChildCommand;
using test::TestChildPath;

// The two pipes between a manager and one client, set up the way the manager does: the
// client's ends inheritable, the manager's ends duplicated as not inheritable.
struct ClientPipes {
  Handle commandRead, commandWrite;  // client reads, manager writes
  Handle replyRead, replyWrite;      // manager reads, client writes

  ClientPipes() {
    Handle inheritable;
    EXPECT_EQ(CreatePipe(true, commandRead, inheritable), 0u);
    EXPECT_EQ(DuplicateHandle(inheritable, false, commandWrite), 0u);
    EXPECT_EQ(CreatePipe(true, inheritable, replyWrite), 0u);
    EXPECT_EQ(DuplicateHandle(inheritable, false, replyRead), 0u);
  }

  std::string ClientEnds() const {
    return std::to_string(commandRead.Get()) + " " + std::to_string(replyWrite.Get());
  }

  // After the spawn the manager keeps only its own ends.
  void CloseClientEnds() {
    commandRead.Reset();
    replyWrite.Reset();
  }
};

Process SpawnChild(const std::string& args, PriorityClass priority = PriorityClass::Normal) {
  Process child;
  EXPECT_EQ(Process::Spawn(TestChildPath(), TestChildCommand(args), priority, child), 0u);
  return child;
}

TEST(ProcessTest, ChildInheritsExactlyTheInheritableDescriptors) {
  const std::set<int> before = test::InheritableFds();
  ClientPipes pipes;
  Handle inheritableCopy, privateCopy;
  ASSERT_EQ(DuplicateHandle(pipes.commandRead, true, inheritableCopy), 0u);
  ASSERT_EQ(DuplicateHandle(pipes.replyWrite, false, privateCopy), 0u);
  Handle privateRead, privateWrite;
  ASSERT_EQ(CreatePipe(false, privateRead, privateWrite), 0u);

  std::set<int> expected = before;
  expected.insert({pipes.commandRead.Get(), pipes.replyWrite.Get(), inheritableCopy.Get()});
  EXPECT_EQ(test::FdsSeenByChild(), expected);
}

TEST(ProcessTest, ChildAnswersOverItsInheritedPipes) {
  ClientPipes pipes;
  Process child = SpawnChild("echo " + pipes.ClientEnds(), PriorityClass::High);
  pipes.CloseClientEnds();

  const uint32_t request[2] = {7, 41};
  uint32_t reply[2] = {};
  size_t done = 0;
  ASSERT_EQ(WriteWhole(pipes.commandWrite.Get(), request, sizeof request, done), 0u);
  ASSERT_EQ(ReadWhole(pipes.replyRead.Get(), reply, sizeof reply, done), 0u);
  EXPECT_EQ(reply[0], 7u);
  EXPECT_EQ(reply[1], 42u);
  ASSERT_EQ(child.Wait(kInfinite), 0u);
  EXPECT_EQ(child.ExitCode(), 0u);

  // The ended client held the only other ends, so both pipes are broken now.
  EXPECT_EQ(WriteWhole(pipes.commandWrite.Get(), request, sizeof request, done), ERROR_BROKEN_PIPE);
  EXPECT_EQ(ReadWhole(pipes.replyRead.Get(), reply, sizeof reply, done), ERROR_BROKEN_PIPE);
}

TEST(ProcessTest, WaitTimesOutWhileRunningAndReapsOnceEnded) {
  ClientPipes pipes;
  Process child = SpawnChild("drain " + std::to_string(pipes.commandRead.Get()) + " 7");
  pipes.CloseClientEnds();

  EXPECT_EQ(child.Wait(100), ERROR_TIMEOUT);
  EXPECT_EQ(child.ExitCode(), Process::kStillActive);
  pipes.commandWrite.Reset();
  ASSERT_EQ(child.Wait(60000), 0u);
  EXPECT_EQ(child.ExitCode(), 7u);
  EXPECT_EQ(::waitpid(child.Pid(), nullptr, WNOHANG), -1) << "not reaped";
  EXPECT_EQ(child.Wait(0), 0u);
}

TEST(ProcessTest, LettingGoOfTheProcessLeavesItRunning) {
  ClientPipes pipes;
  int pid;
  {
    Process child = SpawnChild("echo " + pipes.ClientEnds());
    pid = child.Pid();
  }
  pipes.CloseClientEnds();

  const uint32_t request[2] = {10, 0};
  uint32_t reply[2] = {};
  size_t done = 0;
  ASSERT_EQ(WriteWhole(pipes.commandWrite.Get(), request, sizeof request, done), 0u);
  EXPECT_EQ(ReadWhole(pipes.replyRead.Get(), reply, sizeof reply, done), 0u);
  int status = 0;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(ProcessTest, ArgumentsArriveAsTheCommandLineGroupsThem) {
  ClientPipes pipes;
  const std::string out = std::to_string(pipes.replyWrite.Get());
  Process child = SpawnChild("args " + out + R"( "two  words" "" -1080)");
  pipes.CloseClientEnds();

  std::istringstream report(test::ReadToEnd(pipes.replyRead.Get()));
  std::vector<std::string> args;
  for (std::string line; std::getline(report, line);) args.push_back(line);
  EXPECT_EQ(args,
            (std::vector<std::string>{TestChildPath(), "args", out, "two  words", "", "-1080"}));
  EXPECT_EQ(child.Wait(kInfinite), 0u);
}

bool MayRaisePriority() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with("CapEff:")) {
      constexpr int kCapSysNice = 23;
      return (std::stoull(line.substr(7), nullptr, 16) >> kCapSysNice) & 1;
    }
  }
  return false;
}

TEST(ProcessTest, HighPriorityClassRaisesTheChildsPriority) {
  errno = 0;
  const int ownNice = ::getpriority(PRIO_PROCESS, 0);
  ASSERT_EQ(errno, 0);
  const bool mayRaise = MayRaisePriority();
  for (const PriorityClass priority : {PriorityClass::Normal, PriorityClass::High}) {
    const bool high = priority == PriorityClass::High;
    SCOPED_TRACE(high ? "High" : "Normal");
    ClientPipes pipes;
    Process child = SpawnChild("drain " + std::to_string(pipes.commandRead.Get()) + " 0", priority);
    pipes.CloseClientEnds();
    errno = 0;
    EXPECT_EQ(::getpriority(PRIO_PROCESS, child.Pid()), high && mayRaise ? -10 : ownNice);
    EXPECT_EQ(errno, 0);
    pipes.commandWrite.Reset();
    EXPECT_EQ(child.Wait(kInfinite), 0u);
  }
}

TEST(ProcessTest, ProgramThatCannotRunIsNotStarted) {
  test::TempDir dir;
  const std::string notExecutable = (dir.Path() / "vorlixcln").string();
  std::ofstream(notExecutable) << "#!/bin/sh\n";
  ::chmod(notExecutable.c_str(), 0644);
  struct Case {
    std::string program;
    uint32_t error;
  };
  const Case cases[] = {
      {(dir.Path() / "missing" / "vorlixcln").string(), ERROR_FILE_NOT_FOUND},
      {notExecutable, ERROR_ACCESS_DENIED},
      {dir.Path().string(), ERROR_ACCESS_DENIED},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.program);
    Process child;
    EXPECT_EQ(Process::Spawn(c.program, "\"" + c.program + "\" 0", PriorityClass::High, child),
              c.error);
    EXPECT_EQ(child.Pid(), -1);
    EXPECT_EQ(child.Wait(0), ERROR_INVALID_HANDLE);
  }
}

}  // namespace
}  // namespace vorlix::platform
