// Before Xlib, whose macros break it.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>

#include <chrono>
#include <thread>
#include <vector>

#include "common/PipeProtocol.h"
#include "platform/registry/RegistryKey.h"
#include "platform/system/Pipe.h"
#include "platform/system/Process.h"
#include "tests/support/InputServiceFixture.h"
#include "tests/support/ScreenSamples.h"
#include "tests/support/TestServer.h"
#include "tests/support/XServer.h"
#include "tests/system/SeatHarness.h"

namespace vorlix::test {
namespace {

using namespace std::chrono_literals;

// A vorlixcln on the second monitor of its own X server, with its two pipes held by the test
// as the manager holds them, and with the first keyboard and mouse of the input service.
class ClientSession : public InputServiceFixture {
 protected:
  static void SetUpTestSuite() { x_ = new XServer("800x600+0+0*,640x480+800+0"); }
  static void TearDownTestSuite() { delete x_; }

  void SetUp() override {
    ASSERT_TRUE(x_->Ok()) << x_->Error();
    x_->Use();
    InputServiceFixture::SetUp();
    Tool("plug keyboard kbd");
    Tool("plug mouse mou");
  }
  void TearDown() override {
    if (client_.IsValid()) {
      Request(CMD_QUIT);
      commands_ = {};
      if (client_.Wait(10000) != 0) ::kill(client_.Pid(), SIGKILL);
    }
    InputServiceFixture::TearDown();
  }

  void StartClient(const TestServer& server) {
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegistryKey::Open("Software\\Brackenholt\\Vorlix",
                                          platform::KeyAccess::Full, true, key),
              0u);
    const std::u16string address = server.Address();
    key.WriteString("TsHostName", std::string(address.begin(), address.end()));
    platform::Handle commandRead, replyWrite;
    ASSERT_EQ(platform::CreatePipe(true, commandRead, commands_), 0u);
    ASSERT_EQ(platform::CreatePipe(true, replies_, replyWrite), 0u);
    ASSERT_EQ(::fcntl(commands_.Get(), F_SETFD, FD_CLOEXEC), 0);
    ASSERT_EQ(::fcntl(replies_.Get(), F_SETFD, FD_CLOEXEC), 0);
    const std::string line = "vorlixcln 1 0 800 480 640 " + std::to_string(commandRead.Get()) +
                             " " + std::to_string(replyWrite.Get()) + " 0 0";
    ASSERT_EQ(platform::Process::Spawn(std::string(BIN_DIR) + "/vorlixcln", line,
                                       platform::PriorityClass::Normal, client_),
              0u);
    PipeMsg ready{};
    size_t read = 0;
    ASSERT_EQ(platform::ReadWholeWithin(replies_.Get(), &ready, sizeof ready, read, 20000), 0u);
    EXPECT_EQ(ready.Command, CMD_READY);
  }

  uint32_t Request(uint32_t command, uint32_t value = 0) {
    const PipeMsg request{command, value};
    size_t done = 0;
    if (platform::WriteWhole(commands_.Get(), &request, sizeof request, done) != 0) return ~0u;
    PipeMsg reply{};
    if (platform::ReadWholeWithin(replies_.Get(), &reply, sizeof reply, done, 20000) != 0) {
      return ~0u;
    }
    return reply.Value;
  }

  static XServer* x_;
  platform::Process client_;
  platform::Handle commands_;
  platform::Handle replies_;
};

XServer* ClientSession::x_ = nullptr;

// Samples of the second monitor's pixels.
std::vector<unsigned long> SecondMonitor() { return test::ScreenSamples(800, 0, 640, 480, 8); }

TEST_F(ClientSession, CtrlAltDelOnItsKeyboardConnectsAndTheMonitorShowsTheSession) {
  TestServer server(root_.Path());
  ASSERT_TRUE(server.Ok());
  StartClient(server);
  EXPECT_EQ(Request(CMD_GET_STATE), 2u);
  const auto background = SecondMonitor();

  // The standalone client armed its watch when it was shown.
  ASSERT_TRUE(WaitFor([&] {
    Tool("key kbd 0x1d");
    Tool("key kbd 0x38");
    Tool("key kbd 0x53 --e0");
    return Request(CMD_GET_STATE) > 2;
  }));
  ASSERT_TRUE(WaitFor([&] { return Request(CMD_GET_STATE) == 6; }));
  ASSERT_TRUE(WaitFor([&] { return SecondMonitor() != background; }));
  const auto session = SecondMonitor();
  EXPECT_TRUE(WaitFor([&] { return SecondMonitor() != session; })) << "the picture moves";

  EXPECT_EQ(Request(CMD_SET_DEVICES, 0x00010001), 0x80004005u) << "not while logged on";
  EXPECT_EQ(Request(CMD_DISCONNECT), 0u);
  EXPECT_TRUE(WaitFor([&] { return Request(CMD_GET_STATE) == 2; }));
  EXPECT_EQ(Request(CMD_SET_DEVICES, 0), 0u);
  EXPECT_EQ(Request(CMD_CONNECT), 0u);
  EXPECT_TRUE(WaitFor([&] { return Request(CMD_GET_STATE) == 6; }));
}

}  // namespace
}  // namespace vorlix::test
