#include "manager/ClientSupervision.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "common/PipeProtocol.h"
#include "common/ResultCodes.h"
#include "platform/system/CommandLine.h"

namespace vorlix {
namespace {

namespace fs = std::filesystem;

// The descriptors of this process that a child inherits (some come from whoever started it).
std::set<int> InheritableFds() {
  std::set<int> fds;
  for (const auto& entry : fs::directory_iterator("/proc/self/fd")) {
    const int fd = std::stoi(entry.path().filename());
    const int flags = ::fcntl(fd, F_GETFD);
    if (flags >= 0 && !(flags & FD_CLOEXEC)) fds.insert(fd);
  }
  return fds;
}

// A folder holding a copy of the fake client under the real client's name, with one mode per
// workplace.
class ClientSupervisionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vorlix-clients-XXXXXX";
    home_ = std::string(::mkdtemp(pattern)) + "/";
    fs::copy_file(FAKE_CLIENT, home_ + kClientProgram);
  }
  void TearDown() override {
    monitors_.clear();  // closes the pipes, so every fake client ends
    fs::remove_all(home_);
  }
  void Workplaces(std::initializer_list<const char*> modes) {
    int i = 0;
    for (const char* mode : modes) {
      TMonitorInfo m;
      m.MonitorRect = {1280 * (i + 1), -200, 1280 * (i + 2), 824};
      monitors_.push_back(std::move(m));
      std::ofstream(home_ + "mode." + std::to_string(i++)) << mode;
    }
  }
  std::string Read(const std::string& name) const {
    std::stringstream text;
    text << std::ifstream(home_ + name).rdbuf();
    return text.str();
  }

  std::string home_;
  std::vector<TMonitorInfo> monitors_;
};

TEST_F(ClientSupervisionTest, RequestsBeforeAnyClientFailWithoutWriting) {
  Workplaces({"ready 0"});
  EXPECT_EQ(ClientRequest(monitors_, 1, CMD_GET_STATE, true, 0), E_PIPE_BAD_WORKPLACE);
  EXPECT_EQ(ClientRequest(monitors_, 0, CMD_GET_STATE, true, 0), E_PIPE_NO_PROCESS);
}

TEST_F(ClientSupervisionTest, ClientsStartWithTheirMonitorAndOnlyTheirOwnPipeEnds) {
  Workplaces({"ready 0", "ready 0"});
  const std::set<int> before = InheritableFds();
  ASSERT_TRUE(StartClients(monitors_, home_));
  for (int w = 0; w < 2; ++w) {
    std::istringstream args(Read("args." + std::to_string(w)));
    std::string number, top, left, height, width;
    int commandRead = -1, replyWrite = -1;
    args >> number >> top >> left >> height >> width >> commandRead >> replyWrite;
    EXPECT_EQ(number, std::to_string(w));
    EXPECT_EQ(top + " " + left + " " + height + " " + width,
              "-200 " + std::to_string(1280 * (w + 1)) + " 1024 1280");
    std::istringstream fds(Read("fds." + std::to_string(w)));
    std::set<int> seen{std::istream_iterator<int>(fds), std::istream_iterator<int>()};
    std::set<int> expected = before;
    expected.insert({commandRead, replyWrite});
    EXPECT_EQ(seen, expected) << "a client must not inherit the manager's ends or another client's";
  }
  EXPECT_EQ(ClientRequest(monitors_, 1, CMD_SET_DEVICES, true, 41), 42u);
}

TEST_F(ClientSupervisionTest, ReadyWithAValueOtherThanZeroFailsTheStartButReadsTheRest) {
  Workplaces({"ready 5", "ready 0"});
  EXPECT_FALSE(StartClients(monitors_, home_));
  EXPECT_EQ(ClientRequest(monitors_, 1, CMD_GET_STATE, true, 1), 2u)
      << "the second client's ready message was read, so its next reply lines up";
}

TEST_F(ClientSupervisionTest, LaunchFailureStopsTheStartAtThatWorkplace) {
  Workplaces({"ready 0", "ready 0", "ready 0"});
  fs::remove(home_ + kClientProgram);
  EXPECT_FALSE(StartClients(monitors_, home_));
  for (const TMonitorInfo& m : monitors_) {
    EXPECT_FALSE(m.Process.IsValid());
    EXPECT_FALSE(m.ReplyPipe.IsValid() || m.CommandPipe.IsValid()) << "nothing left open";
  }
  EXPECT_EQ(LaunchClient(monitors_, home_, 3), E_PIPE_BAD_WORKPLACE);
}

TEST_F(ClientSupervisionTest, BadRepliesAreExchangeFailures) {
  Workplaces({"mismatch", "short", "ready 0"});
  StartClients(monitors_, home_);
  EXPECT_EQ(ClientRequest(monitors_, 0, CMD_GET_STATE, true, 0), E_PIPE_EXCHANGE_FAILED);
  EXPECT_EQ(ClientRequest(monitors_, 1, CMD_GET_STATE, true, 0), E_PIPE_EXCHANGE_FAILED);
  ::kill(monitors_[2].Process.Pid(), SIGKILL);
  monitors_[2].Process.Wait(platform::kInfinite);
  EXPECT_EQ(ClientRequest(monitors_, 2, CMD_GET_STATE, true, 0), E_PIPE_EXCHANGE_FAILED);
  EXPECT_EQ(ClientRequest(monitors_, 2, CMD_GET_STATE, false, 0), E_PIPE_EXCHANGE_FAILED)
      << "a write to a dead client fails at once";
}

TEST_F(ClientSupervisionTest, ClientThatNeverAnswersLosesItsPipes) {
  Workplaces({"silent"});
  ASSERT_TRUE(StartClients(monitors_, home_));
  EXPECT_EQ(ClientRequest(monitors_, 0, CMD_GET_STATE, true, 0), E_PIPE_EXCHANGE_FAILED);
  EXPECT_EQ(ClientRequest(monitors_, 0, CMD_GET_STATE, true, 0), E_PIPE_END_MISSING);
}

TEST_F(ClientSupervisionTest, StopClientsEndsEveryClientAndLetsGoOfOneThatLingers) {
  Workplaces({"ready 0", "linger"});
  ASSERT_TRUE(StartClients(monitors_, home_));
  const int first = monitors_[0].Process.Pid();
  StopClients(monitors_);
  EXPECT_FALSE(monitors_[0].Process.IsValid());
  EXPECT_FALSE(monitors_[1].Process.IsValid());
  EXPECT_EQ(::kill(first, 0), -1) << "the first client ended and was reaped";
}

TEST(ClientCommandLine, SplitsBackIntoTheClientsArguments) {
  const auto line =
      BuildClientCommandLine("/opt/quillory dir/vorlixcln", 3, {-1280, -1024, 0, 0}, 7, 9);
  EXPECT_EQ(line, "\"/opt/quillory dir/vorlixcln\" 3 -1024 -1280 1024 1280 7 9");
  EXPECT_EQ(platform::SplitCommandLine(line),
            (std::vector<std::string>{"/opt/quillory dir/vorlixcln", "3", "-1024", "-1280", "1024",
                                      "1280", "7", "9"}));
}

}  // namespace
}  // namespace vorlix
