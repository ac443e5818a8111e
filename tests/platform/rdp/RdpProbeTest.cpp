#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/TempRoot.h"
#include "tests/support/TestServer.h"

namespace vorlix::platform {
namespace {

using namespace std::chrono_literals;

const std::string kMouseInput = test::kMouseInputHex;

// rdpprobe's lines until it ends.
std::vector<std::string> Probe(const std::string& arguments) {
  test::ToolProcess probe("env -u DISPLAY " + std::string(RDPPROBE) + " " + arguments);
  std::vector<std::string> lines;
  while (auto line = probe.ReadLine(30s)) lines.push_back(*line);
  lines.push_back("exit " + std::to_string(probe.Wait()));
  return lines;
}

bool HasLineStarting(const std::vector<std::string>& lines, const std::string& start) {
  return std::any_of(lines.begin(), lines.end(),
                     [&](const std::string& line) { return line.starts_with(start); });
}

TEST(RdpProbeTest, PrintsTheConnectionAndTheAgentsAnswerToInput) {
  const test::TempRoot root;
  test::TestServer server(root.Path());
  ASSERT_TRUE(server.Ok());
  const auto lines = Probe("--server 127.0.0.1:" + std::to_string(server.Port()) +
                           " --channel Vorlix --seconds 3 --send-hex " + kMouseInput);
  ASSERT_GE(lines.size(), 6u) << ::testing::PrintToString(lines);
  EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3),
            (std::vector<std::string>{"OnConnecting", "OnConnected", "OnLoginComplete"}));
  EXPECT_EQ(lines[3], "OnChannelReceivedData Vorlix type=100 len=8 0800640001000000");
  EXPECT_TRUE(
      HasLineStarting(lines, "OnChannelReceivedData Vorlix type=203 len=12 0c00cb0001000000"))
      << ::testing::PrintToString(lines);
  EXPECT_EQ(lines.rbegin()[1], "OnDisconnected 1 Local disconnection");
  EXPECT_EQ(lines.back(), "exit 0");
  EXPECT_EQ(server.Recorded(),
            std::vector<std::string>{"type=6 len=36 " + std::string(kMouseInput)});
}

TEST(RdpProbeTest, AClosedPortGivesItsReasonAndAFailure) {
  const test::TempRoot root;
  EXPECT_EQ(Probe("--server 127.0.0.1:" + std::to_string(test::UnusedLoopbackPort())),
            (std::vector<std::string>{
                "OnConnecting", "OnDisconnected 516 WinSock socket connect failure", "exit 1"}));
}

}  // namespace
}  // namespace vorlix::platform
