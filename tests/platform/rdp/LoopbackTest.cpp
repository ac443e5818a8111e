#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <functional>
#include <memory>

#include "common/ChannelMessageText.h"
#include "common/ChannelReassembler.h"
#include "common/ResultCodes.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/registry/RegistryKey.h"
#include "tests/platform/rdp/TestBstr.h"
#include "tests/support/EventLoop.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestServer.h"

namespace vorlix::platform {
namespace {

using namespace std::chrono_literals;

const std::string kMouseInput = *ParseHex(test::kMouseInputHex);

// The control from the registered module, connected to a test server, with what it raised.
class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControlModule(), 0);
    control_.reset(CreateRemoteDesktopControl(nullptr));
    control_->SetDesktopWidth(640);
    control_->SetDesktopHeight(480);
    ASSERT_EQ(control_->CreateVirtualChannels(u"Vorlix"), 0);
    control_->OnConnecting = [this] { Note("OnConnecting"); };
    control_->OnConnected = [this] { Note("OnConnected"); };
    control_->OnLoginComplete = [this] { Note("OnLoginComplete"); };
    control_->OnDisconnected = [this](int32_t reason) {
      Note("OnDisconnected " + std::to_string(reason));
    };
    control_->OnFatalError = [this](int32_t code) { Note("OnFatalError " + std::to_string(code)); };
    control_->OnChannelReceivedData = [this](const std::u16string&, const std::string& data) {
      ++deliveries_;
      reassembler_.Deliver(data);
    };
  }

  void Note(std::string event) {
    onGuiThread_ &= QThread::currentThread() == QCoreApplication::instance()->thread();
    events_.push_back(std::move(event));
  }

  bool Saw(const std::string& event) const {
    return std::find(events_.begin(), events_.end(), event) != events_.end();
  }
  bool Received(uint16_t type) const {
    return std::any_of(messages_.begin(), messages_.end(),
                       [type](const std::string& m) { return MessageType(m) == type; });
  }
  // Connects to `server` and waits for the session's log-on and the agent's hello.
  void ConnectAndLogOn(const std::u16string& server) {
    control_->SetServer(server);
    ASSERT_EQ(control_->Connect(), 0);
    ASSERT_TRUE(test::RunEventsUntil([this] {
      return Saw("OnLoginComplete") && Received(chAgentHello);
    })) << ::testing::PrintToString(events_);
  }
  // Ends with a disconnection and gives its reason.
  std::string EndReason() {
    test::RunEventsUntil(
        [this] { return !events_.empty() && events_.back().starts_with("OnDisconnected"); });
    return events_.empty() ? "" : events_.back();
  }

  test::TempRoot root_;
  std::unique_ptr<TMsTscAx> control_;
  std::vector<std::string> events_;
  bool onGuiThread_ = true;
  int deliveries_ = 0;
  std::vector<std::string> messages_;
  ChannelReassembler reassembler_{[this](std::string_view m) { messages_.emplace_back(m); }};
};

TEST_F(LoopbackTest, ConnectsLogsOnAndTalksWithTheAgentUntilDisconnected) {
  test::TestServer server(root_.Path());
  ASSERT_TRUE(server.Ok());
  ConnectAndLogOn(server.Address());
  EXPECT_EQ(std::vector<std::string>(events_.begin(), events_.begin() + 3),
            (std::vector<std::string>{"OnConnecting", "OnConnected", "OnLoginComplete"}));
  EXPECT_EQ(FormatChannelMessage(messages_.front()), "type=100 len=8 0800640001000000");

  const test::TestBstr input(kMouseInput);
  ASSERT_EQ(control_->SendOnVirtualChannel(u"Vorlix", input.Get()), 0);
  ASSERT_TRUE(test::RunEventsUntil([this] { return Received(chCursorState); }));
  const auto state = std::find_if(messages_.begin(), messages_.end(), [](const std::string& m) {
    return MessageType(m) == chCursorState;
  });
  EXPECT_EQ(FormatChannelMessage(*state).substr(0, 24), "type=203 len=12 0c00cb00");
  EXPECT_EQ(server.Recorded(), std::vector<std::string>{FormatChannelMessage(kMouseInput)});

  ASSERT_EQ(control_->Disconnect(), 0);
  EXPECT_EQ(EndReason(), "OnDisconnected 1");
  EXPECT_TRUE(onGuiThread_);
  EXPECT_EQ(control_->SendOnVirtualChannel(u"Vorlix", input.Get()), HResult(E_FAIL))
      << "nothing to send on after the end";
}

TEST_F(LoopbackTest, ConnectingAgainRightAfterADisconnectGivesOnlyTheNewConnectionsEvents) {
  test::TestServer server(root_.Path());
  ASSERT_TRUE(server.Ok());
  ConnectAndLogOn(server.Address());
  events_.clear();
  ASSERT_EQ(control_->Disconnect(), 0);
  ASSERT_EQ(control_->Connect(), 0) << "the ending connection is waited for";
  ASSERT_TRUE(test::RunEventsUntil([this] { return Saw("OnLoginComplete"); }));
  EXPECT_EQ(events_, (std::vector<std::string>{"OnConnecting", "OnConnected", "OnLoginComplete"}));
}

TEST_F(LoopbackTest, MessagesSplitAcrossDeliveriesArriveWhole) {
  test::TestServer server(root_.Path(), "--split 3");
  ASSERT_TRUE(server.Ok());
  ConnectAndLogOn(server.Address());
  ASSERT_TRUE(test::RunEventsUntil([this] { return Received(chSessionStatus); }));
  EXPECT_GT(deliveries_, static_cast<int>(messages_.size()));
  EXPECT_EQ(FormatChannelMessage(messages_.at(0)), "type=100 len=8 0800640001000000");
  EXPECT_EQ(MessageType(messages_.at(1)), chPointerSettings);
  EXPECT_EQ(FormatChannelMessage(messages_.at(2)), "type=101 len=8 0800650000000100");
  EXPECT_EQ(reassembler_.Malformed(), 0u);
}

TEST_F(LoopbackTest, AServerSideEndGivesARemoteReasonADroppedSocketItsOwn) {
  const struct {
    const char* options;
    const char* reason;
  } cases[] = {
      {"--disconnect-after 500 --reason 0xC", "OnDisconnected 2"},
      {"--disconnect-after 500 --reason 0xB", "OnDisconnected 2"},
      {"--disconnect-after 500 --reason 0x1", "OnDisconnected 3"},
      {"--disconnect-after 500", "OnDisconnected 2308"},
  };
  for (const auto& c : cases) {
    test::TestServer server(root_.Path(), c.options);
    ASSERT_TRUE(server.Ok());
    events_.clear();
    control_->SetServer(server.Address());
    ASSERT_EQ(control_->Connect(), 0) << c.options;
    EXPECT_EQ(EndReason(), c.reason) << c.options;
    EXPECT_TRUE(Saw("OnConnected")) << c.options;
  }
}

TEST_F(LoopbackTest, UnreachableServersGiveTheirReasons) {
  const struct {
    std::u16string server;
    const char* reason;
  } cases[] = {
      {u"127.0.0.1:" +
           [] {
             const std::string port = std::to_string(test::UnusedLoopbackPort());
             return std::u16string(port.begin(), port.end());
           }(),
       "OnDisconnected 516"},
      {u"no-such-host.invalid", "OnDisconnected 260"},
      {u"", "OnDisconnected 260"},
  };
  for (const auto& c : cases) {
    events_.clear();
    control_->SetServer(c.server);
    ASSERT_EQ(control_->Connect(), 0);
    EXPECT_EQ(EndReason(), c.reason);
    EXPECT_EQ(events_.front(), "OnConnecting");
    EXPECT_FALSE(Saw("OnConnected"));
  }
}

TEST_F(LoopbackTest, AChangedServerCertificateIsRefusedUntilForgotten) {
  int port = 0;
  {
    test::TestServer first(root_.Path(), "--new-cert");
    ASSERT_TRUE(first.Ok());
    port = first.Port();
    ConnectAndLogOn(first.Address());
    control_->Disconnect();
    EXPECT_EQ(EndReason(), "OnDisconnected 1");
  }
  test::TestServer changed(root_.Path(), "--new-cert", port);
  ASSERT_TRUE(changed.Ok());
  events_.clear();
  ASSERT_EQ(control_->Connect(), 0);
  EXPECT_EQ(EndReason(), "OnDisconnected 1542");
  EXPECT_FALSE(Saw("OnConnected"));

  RegistryKey key;
  ASSERT_EQ(RegistryKey::Open("Software\\Microsoft\\Terminal Server Client\\Servers\\127.0.0.1:" +
                                  std::to_string(port),
                              KeyAccess::Full, false, key),
            0u);
  ASSERT_EQ(key.DeleteValue("CertHash"), 0u);
  events_.clear();
  ConnectAndLogOn(changed.Address());
}

}  // namespace
}  // namespace vorlix::platform
