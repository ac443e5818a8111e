#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>
#include <thread>

#include "common/ResultCodes.h"
#include "platform/rdp/TMsTscAxControl.h"
#include "tests/platform/rdp/EventLog.h"
#include "tests/platform/rdp/TestBstr.h"

namespace vorlix::platform {
namespace {

// An engine the test drives: it keeps what it was given and reports what the test says.
class FakeEngine : public RdpEngine {
 public:
  explicit FakeEngine(RdpEventSink sink) : report(std::move(sink)) {}

  bool Connect(const RdpSettings& settings) override {
    connectedWith = settings;
    return true;
  }
  void Repaint(int, int, int, int) override {}
  void Disconnect() override {}
  bool Send(std::u16string_view channel, std::string_view data) override {
    sent.emplace_back(std::u16string(channel), std::string(data));
    return connected;
  }

  RdpEventSink report;
  RdpSettings connectedWith;
  bool connected = false;
  std::vector<std::pair<std::u16string, std::string>> sent;
};

class RdpEngineCrossingTest : public ::testing::Test {
 protected:
  RdpEngineCrossingTest()
      : control_(nullptr, [this](RdpEventSink sink) {
          auto engine = std::make_unique<FakeEngine>(std::move(sink));
          engine_ = engine.get();
          return engine;
        }) {}

  FakeEngine* engine_ = nullptr;
  TMsTscAxControl control_;
};

TEST_F(RdpEngineCrossingTest, EngineThreadEventsAreRaisedOnTheGuiThreadInOrder) {
  test::EventLog log;
  log.Wire(control_);
  const std::string binary("a\0b", 3);
  std::thread engineThread([this, &binary] {
    engine_->report(0, rdp_event::Connecting{});
    engine_->report(0, rdp_event::Connected{});
    engine_->report(0, rdp_event::LoginComplete{});
    engine_->report(0, rdp_event::ChannelData{u"Vorlix", binary});
    engine_->report(0, rdp_event::DesktopSizeChange{1024, 768});
    engine_->report(0, rdp_event::FatalError{7});
    engine_->report(0, rdp_event::Disconnected{3});
  });
  engineThread.join();
  EXPECT_TRUE(log.Entries().empty()) << "raised on the engine thread";

  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(log.Entries(),
            (std::vector<std::string>{"Connecting", "Connected", "LoginComplete",
                                      "ChannelData Vorlix " + binary, "SizeChange 1024x768",
                                      "FatalError 7", "Disconnected 3"}));
  EXPECT_TRUE(log.AllOnGuiThread());
}

TEST_F(RdpEngineCrossingTest, ConnectHandsTheEngineTheSettingsAsSet) {
  control_.SetServer(u"ts:3390");
  control_.SetDesktopWidth(1280);
  control_.SetDesktopHeight(1024);
  control_.AdvancedSettings()->SetCompress(0);
  control_.AdvancedSettings()->SetDisableRdpdr(1);
  control_.SecuredSettings()->SetFullScreen(0);
  ASSERT_EQ(control_.CreateVirtualChannels(u"Vorlix,cliprdr"), 0);
  ASSERT_EQ(control_.CreateVirtualChannels(u"TooLongName"), E_INVALIDARG);

  ASSERT_EQ(control_.Connect(), 0);
  const RdpSettings& s = engine_->connectedWith;
  EXPECT_EQ(s.server, u"ts:3390");
  EXPECT_EQ(s.desktopWidth, 1280);
  EXPECT_EQ(s.desktopHeight, 1024);
  EXPECT_EQ(s.compress, 0);
  EXPECT_EQ(s.disableRdpdr, 1);
  EXPECT_EQ(s.fullScreen, 0);
  EXPECT_EQ(s.channels, (std::vector<std::u16string>{u"Vorlix", u"cliprdr"}))
      << "a refused list leaves the previous one";
}

TEST_F(RdpEngineCrossingTest, OnlyDeclaredChannelsReachTheEngineWithTheStringsByteCount) {
  const std::string bytes("\x05\x00\x68\x00\x2a", 5);  // an odd count: bytes, not characters
  const test::TestBstr data(bytes);
  ASSERT_EQ(control_.CreateVirtualChannels(u"Vorlix"), 0);
  EXPECT_EQ(control_.SendOnVirtualChannel(u"Vorlix", data.Get()), HResult(E_FAIL))
      << "before Connect";

  control_.Connect();
  engine_->connected = true;
  EXPECT_EQ(control_.SendOnVirtualChannel(u"Vorlix", data.Get()), 0);
  EXPECT_EQ(control_.SendOnVirtualChannel(u"Other", data.Get()), HResult(E_FAIL));
  EXPECT_EQ(control_.SendOnVirtualChannel(u"Vorlix", nullptr), E_INVALIDARG);
  engine_->connected = false;
  EXPECT_EQ(control_.SendOnVirtualChannel(u"Vorlix", data.Get()), HResult(E_FAIL));

  using Sent = std::pair<std::u16string, std::string>;
  EXPECT_EQ(engine_->sent, (std::vector<Sent>{{u"Vorlix", bytes}, {u"Vorlix", bytes}}));
}

TEST_F(RdpEngineCrossingTest, ReportsOfAnEarlierConnectionStillQueuedAreDropped) {
  test::EventLog log;
  log.Wire(control_);
  ASSERT_EQ(control_.Connect(), 0);
  const uint32_t first = engine_->connectedWith.connection;
  engine_->report(first, rdp_event::Connected{});
  QCoreApplication::sendPostedEvents();
  engine_->report(first, rdp_event::Disconnected{1});  // queued when the next Connect comes
  ASSERT_EQ(control_.Connect(), 0);
  const uint32_t second = engine_->connectedWith.connection;
  EXPECT_NE(second, first);
  engine_->report(second, rdp_event::Connecting{});
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(log.Entries(), (std::vector<std::string>{"Connected", "Connecting"}));
}

}  // namespace
}  // namespace vorlix::platform
