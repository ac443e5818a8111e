#include <gtest/gtest.h>

#include <QApplication>
#include <QThread>
#include <chrono>
#include <functional>
#include <optional>

#include "client/DisplaySurfaces.h"
#include "client/TClientMsgForm.h"
#include "client/ZephClntMain.h"
#include "common/PipeProtocol.h"
#include "common/ResultCodes.h"
#include "inputdev/TZephKbdMgr.h"
#include "inputdev/TZephMouMgr.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/registry/RegistryKey.h"
#include "tests/support/EventLoop.h"
#include "tests/support/InputServiceFixture.h"
#include "tests/support/TestServer.h"

namespace vorlix {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::string>;

const QColor kErrorBackground = Qt::red;
const std::string kPrompt = "Press Ctrl-Alt-Del to login";

// The id this process gives the present device of a manager's kind (ids are never reused within
// a process, so each test's devices get new ones).
template <class Manager>
int32_t PresentDeviceId(const Manager& manager) {
  for (const InpDevInfo& device : manager.GetDeviceList()) {
    if (device.Present) return device.Id;
  }
  return -1;
}

// A standalone terminal window on the second monitor, bound to the service's keyboard and mouse,
// connecting to a test server through the real control.
class ConnectionLifecycleTest : public test::InputServiceFixture {
 protected:
  void SetUp() override {
    InputServiceFixture::SetUp();
    Tool("plug keyboard kbd");
    Tool("plug mouse mou");
    ASSERT_EQ(platform::RegisterControlModule(), 0);
  }
  void TearDown() override {
    window_.reset();
    server_.reset();
    InputServiceFixture::TearDown();
  }

  // Starts the server with `options`, stores the settings and shows the window, which arms the
  // Ctrl+Alt+Del watch.
  void Start(const std::string& options = "", uint32_t connectTimeout = 60000,
             uint32_t lostTimeout = 60000) {
    server_.emplace(root_.Path(), options);
    ASSERT_TRUE(server_->Ok());
    platform::RegistryKey key;
    ASSERT_EQ(platform::RegistryKey::Open("Software\\Brackenholt\\Vorlix",
                                          platform::KeyAccess::Full, true, key),
              0u);
    const std::u16string address = server_->Address();
    key.WriteString("TsHostName", std::string(address.begin(), address.end()));
    key.WriteInteger("ConnectionTimeOut", connectTimeout);
    key.WriteInteger("LostConnectionTimeOut", lostTimeout);
    kbdId_ = PresentDeviceId(keyboards_);
    mouId_ = PresentDeviceId(mice_);
    window_.emplace(std::vector<std::string>{"1", "0", "800", "480", "640", "-1", "-1",
                                             std::to_string(kbdId_), std::to_string(mouId_)});
    window_->SetMessageForm(&msgForm_);
    platform::TMsTscAx& control = *window_->Control();
    control.OnDisconnected = [this, handler = control.OnDisconnected](int32_t reason) {
      handler(reason);
      ++controlEnds_;
    };
    controlEnds_ = 0;
    window_->show();
    ASSERT_TRUE(window_->WatchRunning());
  }

  // Runs the event loop for `time`, whatever happens.
  static void RunFor(std::chrono::milliseconds time) {
    test::RunEventsUntil([] { return false; }, time);
  }

  void Key(const std::string& key) { Tool("key kbd " + key); }
  void PressCtrlAltDel() {
    Key("0x1d");
    Key("0x38");
    Key("0x53 --e0");
  }
  int State() const { return window_->State(); }
  bool ShowsError() const { return msgForm_.MsgBackground() == kErrorBackground; }

  // Connects with Ctrl+Alt+Del and waits for the log-on.
  void ConnectAndLogOn() {
    PressCtrlAltDel();
    ASSERT_TRUE(test::RunEventsUntil([this] { return State() == LOGGEDON; })) << State();
  }
  // Waits for the control's report of the connection's end; then the state and the prompt are
  // on screen, whether the client or the control ended it.
  void ExpectEnd(int state) {
    EXPECT_TRUE(test::RunEventsUntil([this] { return controlEnds_ > 0; }));
    controlEnds_ = 0;
    EXPECT_EQ(State(), state);
    EXPECT_TRUE(msgForm_.isVisible());
    EXPECT_TRUE(window_->WatchRunning()) << "the prompt arms the watch";
    EXPECT_FALSE(window_->Control()->Widget()->isVisible());
  }

  TZephKbdMgr keyboards_;
  TZephMouMgr mice_;
  int32_t kbdId_ = -1;
  int32_t mouId_ = -1;
  std::optional<test::TestServer> server_;
  TClientMsgForm msgForm_;
  std::optional<TTermWindow> window_;
  int controlEnds_ = 0;
};

TEST_F(ConnectionLifecycleTest, CtrlAltDelOnTheBoundKeyboardConnectsThroughTheStates) {
  Start();
  std::vector<int> states;
  platform::TMsTscAx& control = *window_->Control();
  for (auto* event : {&control.OnConnecting, &control.OnConnected, &control.OnLoginComplete}) {
    *event = [this, &states, handler = *event] {
      states.push_back(State());
      handler();
      states.push_back(State());
    };
  }
  ConnectAndLogOn();
  EXPECT_EQ(states, (std::vector<int>{START_CONNECT, CONNECTING, CONNECTING, CONNECTED, CONNECTED,
                                      LOGGEDON}));
  EXPECT_FALSE(msgForm_.isVisible());
  EXPECT_TRUE(control.Widget()->isVisible());
  EXPECT_TRUE(test::RunEventsUntil([this] { return window_->SessionId() == 1; }))
      << "the agent's hello";
  EXPECT_TRUE(DisplaySurfaces::Instance().Attached());
  EXPECT_TRUE(test::RunEventsUntil([this] { return window_->AgentStatus() == ssReady; }));

  EXPECT_EQ(window_->RequestDisconnect(), 0u);
  EXPECT_EQ(State(), DISCONNECTING);
  ExpectEnd(DISCONNECTED);
  EXPECT_EQ(msgForm_.Lines(), (Lines{"Session Completed", "Local disconnection", kPrompt}));
  EXPECT_FALSE(ShowsError());
  EXPECT_FALSE(DisplaySurfaces::Instance().Attached());
}

TEST_F(ConnectionLifecycleTest, OnlyCtrlAltAndDelHeldTogetherConnect) {
  Start();
  Key("0x1d");
  Key("0x1d --up");
  Key("0x38");
  Key("0x53 --e0");
  ASSERT_TRUE(test::RunEventsUntil([this] { return window_->WatchMask() == 6; }));
  EXPECT_EQ(State(), DISCONNECTED);

  Key("0x1d");
  EXPECT_TRUE(test::RunEventsUntil([this] { return State() > DISCONNECTED; }));
}

TEST_F(ConnectionLifecycleTest, ASecondPromptRestartsTheWatchWithAnEmptyMask) {
  Start();
  Key("0x1d");
  Key("0x38");
  ASSERT_TRUE(test::RunEventsUntil([this] { return window_->WatchMask() == 3; }));
  EXPECT_EQ(window_->RunCommand(CMD_PROMPT_LOGIN, 0), 0u);
  EXPECT_EQ(window_->WatchMask(), 0);
  EXPECT_EQ(msgForm_.Lines(), Lines{kPrompt});
  Key("0x53 --e0");
  ASSERT_TRUE(test::RunEventsUntil([this] { return window_->WatchMask() == 4; }));
  EXPECT_EQ(State(), DISCONNECTED) << "Ctrl and Alt were pressed before the prompt";
}

TEST_F(ConnectionLifecycleTest, ABudgetOfZeroEndsTheAttemptOnTheFirstTick) {
  Start("--logon-delay 5000", 0);
  PressCtrlAltDel();
  ExpectEnd(DISCONNECTED_BY_TIMEOUT);
  EXPECT_EQ(msgForm_.Lines(), (Lines{"Connection has broken by timeout", kPrompt}));
  EXPECT_TRUE(ShowsError());
}

TEST_F(ConnectionLifecycleTest, HeartbeatOfZeroNeverFiresASilentAgentOtherwiseEnds) {
  Start("--silent", 60000, 0);
  ConnectAndLogOn();
  RunFor(1500ms);
  EXPECT_EQ(State(), LOGGEDON);
  window_->RequestDisconnect();
  ExpectEnd(DISCONNECTED);

  Start("--silent", 60000, 400);
  PressCtrlAltDel();
  ExpectEnd(DISCONNECTED_BY_TIMEOUT);
  EXPECT_EQ(msgForm_.Lines(), (Lines{"Connection has broken by timeout", kPrompt}));
}

TEST_F(ConnectionLifecycleTest, AgentFailureFlagsEndTheAttemptWithTheirTexts) {
  const struct {
    const char* status;
    Lines lines;
  } cases[] = {
      {"0x6", {"Can't open mouse device", "Can't open keyboard device", kPrompt}},
      {"0x1", {"Internal error at the session side=1", kPrompt}},
      {"0x81", {"Internal error at the session side=129", kPrompt}},
  };
  for (const auto& c : cases) {
    Start(std::string("--status ") + c.status);
    PressCtrlAltDel();
    ExpectEnd(DISCONNECTED_BY_ERROR);
    EXPECT_EQ(msgForm_.Lines(), c.lines) << c.status;
    EXPECT_TRUE(ShowsError()) << c.status;
  }
}

TEST_F(ConnectionLifecycleTest, DisconnectionReasonsAndFatalErrorsAreShownInTheirColours) {
  Start();
  const struct {
    int32_t reason;
    Lines lines;
    bool error;
  } cases[] = {
      {1, {"Session Completed", "Local disconnection", kPrompt}, false},
      {2, {"Session Completed", "Remote disconnection by user", kPrompt}, false},
      {4, {"Session Completed", "Unknown RDP Error=4", kPrompt}, true},
      {264, {"Session Completed", "Connection timed out", kPrompt}, true},
      {0, {"Session Completed", "Unknown RDP Error=0", kPrompt}, false},
  };
  for (const auto& c : cases) {
    window_->Control()->OnDisconnected(c.reason);
    EXPECT_EQ(State(), DISCONNECTED);
    EXPECT_EQ(msgForm_.Lines(), c.lines) << c.reason;
    EXPECT_EQ(ShowsError(), c.error) << c.reason;
    EXPECT_EQ(msgForm_.MsgText(), c.error ? QColor(Qt::yellow) : QColor(Qt::blue)) << c.reason;
  }
  window_->Control()->OnFatalError(100);
  EXPECT_EQ(msgForm_.Lines(), (Lines{"Fatal error is", "Winsock initialization error", kPrompt}));
  EXPECT_TRUE(ShowsError());
}

TEST_F(ConnectionLifecycleTest, RequestsAreRefusedWithoutDevicesOrWhileBusy) {
  Start();
  const struct {
    int32_t kbd, mou;
    const char* text;
  } cases[] = {{-1, mouId_, "No associated keyboard device"},
               {kbdId_, -1, "No associated mouse device"}};
  for (const auto& c : cases) {
    ASSERT_TRUE(window_->SetDevices(c.kbd, c.mou));
    EXPECT_EQ(window_->RequestConnect(), E_FAIL);
    EXPECT_EQ(msgForm_.Lines(), Lines{c.text});
    EXPECT_TRUE(ShowsError());
    EXPECT_EQ(State(), DISCONNECTED);
  }
  ASSERT_TRUE(window_->SetDevices(kbdId_, mouId_));
  EXPECT_EQ(window_->RequestConnect(), 0u);
  EXPECT_EQ(window_->RequestConnect(), E_FAIL);
  EXPECT_EQ(msgForm_.Lines(), Lines{"Bad state for connection"});
  ASSERT_TRUE(test::RunEventsUntil([this] { return State() == LOGGEDON; }));
  EXPECT_FALSE(window_->WatchRunning()) << "a session's keys are its own";

  EXPECT_FALSE(window_->SetDevices(5, 6));
  EXPECT_EQ(msgForm_.Lines(), Lines{"Can't reset keyboard and mouse for undisconnected session"});
  EXPECT_EQ(window_->KbdId(), kbdId_);
  EXPECT_EQ(window_->MouId(), mouId_);
}

}  // namespace
}  // namespace vorlix
