// TTermWindow's connection lifecycle: requests, the control's reports, the three timers, the
// Ctrl+Alt+Del watch, the display window and the message window.
#include <QCoreApplication>
#include <QThread>

#include "client/AgentStatusText.h"
#include "client/DisplaySurfaces.h"
#include "client/MessageLines.h"
#include "client/TClientMsgForm.h"
#include "client/ZephClntMain.h"
#include "common/ReasonTexts.h"
#include "common/ResultCodes.h"
#include "common/StringTable.h"
#include "inputdev/InputUnits.h"
#include "platform/rdp/WindowClass.h"

namespace vorlix {

namespace {

constexpr int kConTimerInterval = 500;
constexpr int kWatchInterval = 200;
constexpr int kKeyboardOpenAttempts = 25;
constexpr unsigned long kKeyboardOpenGapMs = 200;
constexpr int kCtrl = 1, kAlt = 2, kDel = 4;
constexpr int kCtrlAltDel = kCtrl | kAlt | kDel;
// Disconnection reasons up to this one are the user's or the server's doing: information.
constexpr int32_t kLastOrdinaryReason = 3;

int KeyBit(uint16_t scanCode) {
  switch (scanCode) {
    case 0x1D:
      return kCtrl;
    case 0x38:
      return kAlt;
    case 0x53:
      return kDel;
    default:
      return 0;
  }
}

}  // namespace

void TTermWindow::ShowMsg(int32_t kind, const std::string& text, bool prompt) {
  if (ClientMsgForm == nullptr) return;
  ClientMsgForm->hide();
  ClientMsgForm->ClearLines();
  if (kind == kMsgHide) return;
  ClientMsgForm->SetKindColours(kind);
  for (const std::string& line : SplitMessageLines(text)) ClientMsgForm->AddLine(line);
  if (prompt) ClientMsgForm->AddLine(LoadStr(1070));
  ClientMsgForm->CentreOver(geometry());
  ClientMsgForm->show();
  ClientMsgForm->raise();
  if (prompt) ArmCtrlAltDelWatch();
}

void TTermWindow::ShowControl(bool show) {
  TSClient->Widget()->setVisible(show);
  Fon.setVisible(!show);
}

uint32_t TTermWindow::RequestConnect() {
  FSessionId = -1;
  if (FKbdId < 0) {
    ShowMsg(kMsgError, LoadStr(90), false);
    return E_FAIL;
  }
  if (FMouId < 0) {
    ShowMsg(kMsgError, LoadStr(95), false);
    return E_FAIL;
  }
  if (FState > DISCONNECTED) {
    ShowMsg(kMsgError, LoadStr(100), false);
    return E_FAIL;
  }
  FState = START_CONNECT;
  FAgentStatus = 0;
  // Each connection's channel starts on a message boundary.
  FReassembly.Reset();
  ShowControl(true);
  ShowMsg(kMsgInformation, LoadStr(1065), false);
  ReadSettings();
  // Input queued while no session ran is not the session's.
  if (FKbd.IsOpen()) FKbd.Flush();
  if (FMou.IsOpen()) FMou.Flush();
  ConTimer.SetInterval(kConTimerInterval);
  ConTimer.Tag = FConnectTimeout;
  ConTimer.SetEnabled(true);
  TSClient->Connect();
  return 0;
}

uint32_t TTermWindow::RequestDisconnect() {
  if (FState == DISCONNECTED) return E_FAIL;
  ConTimer.SetEnabled(false);
  TSClient->Disconnect();
  if (FState >= CONNECTED) FState = DISCONNECTING;
  ShowControl(false);
  ShowMsg(kMsgInformation, LoadStr(1045), false);
  return 0;
}

void TTermWindow::ConnectionTimedOut() {
  ConTimer.SetEnabled(false);
  DetachDisplayWindow();
  TSClient->Disconnect();
  ShowControl(false);
  FState = DISCONNECTED_BY_TIMEOUT;
  FAgentStatus = 0;
  ShowMsg(kMsgError, LoadStr(140), true);
}

bool TTermWindow::SetDevices(int32_t kbdId, int32_t mouId) {
  if (FState > DISCONNECTED) {
    ShowMsg(kMsgError, LoadStr(145), false);
    return false;
  }
  FKbdId = -1;
  if (FKbd.IsOpen()) FKbd.Close();
  FKbdId = kbdId;
  if (FMou.IsOpen()) FMou.Close();
  FMouId = mouId;
  return true;
}

uint32_t TTermWindow::ArmCtrlAltDelWatch() {
  for (int attempt = 0; !FKbd.IsOpen() && attempt < kKeyboardOpenAttempts; ++attempt) {
    if (FKbd.OpenById(FKbdId) == 0) break;
    QCoreApplication::processEvents();
    QThread::msleep(kKeyboardOpenGapMs);
  }
  if (!FKbd.IsOpen()) {
    ShowMsg(kMsgError, LoadStr(105), false);
    return E_FAIL;
  }
  if (!FKbd.HasEvent() && FKbd.AttachEvent(FKbdEvent.get()) != 0) {
    ShowMsg(kMsgError, LoadStr(150), false);
    FKbd.Close();
    return E_FAIL;
  }
  CtrAltDelTimer.SetInterval(kWatchInterval);
  CtrAltDelTimer.Tag = 0;
  CtrAltDelTimer.SetEnabled(true);
  return 0;
}

// The watch runs only while no session is on screen: a session started otherwise (CMD_CONNECT)
// ends it, so that the keys are the session's.
void TTermWindow::CtrAltDelTimerTimer() {
  CtrAltDelTimer.SetEnabled(false);
  if (FState > DISCONNECTED) return;
  if (WatchKeys()) {
    ShowMsg(kMsgHide, "", false);
    RequestConnect();
    return;
  }
  CtrAltDelTimer.SetEnabled(true);
}

bool TTermWindow::WatchKeys() {
  uint8_t* units = FInputBuffer + sizeof(uint32_t);
  while (FKbd.GetQueuedCount() > 0) {
    uint32_t count = 0;
    if (FKbd.Read(kMaxInputUnits, units, 0, count) != 0 || count == 0) return false;
    for (uint32_t i = 0; i < count; ++i) {
      const uint8_t* unit = units + i * kUnitSize;
      if (ReadField<uint32_t>(unit, kUnitType) != kUnitTypeKeyboard) continue;
      const int bit = KeyBit(ReadField<uint16_t>(unit, kKeyScan));
      if ((ReadField<uint32_t>(unit, kKeyFlags) & KEYEVENTF_KEYUP) != 0) {
        CtrAltDelTimer.Tag &= ~bit;
      } else {
        CtrAltDelTimer.Tag |= bit;
      }
      if (CtrAltDelTimer.Tag == kCtrlAltDel) return true;
    }
  }
  return false;
}

void TTermWindow::ConTimerTimer() {
  ConTimer.SetEnabled(false);
  ConTimer.Tag -= ConTimer.Interval();
  if (ConTimer.Tag < 0) {
    ConnectionTimedOut();
    return;
  }
  if ((FAgentStatus & ssFailureBits) != 0) {
    const std::string text = AgentFailureText(FAgentStatus);
    RequestDisconnect();
    FState = DISCONNECTED_BY_ERROR;
    ShowMsg(kMsgError, text, true);
    return;
  }
  if ((FAgentStatus & ssReady) == 0) ConTimer.SetEnabled(true);
}

void TTermWindow::HeartBeatTimerTimer() {
  HeartBeatTimer.SetEnabled(false);
  if (FAlive) {
    FAlive = false;
    HeartBeatTimer.SetEnabled(true);
    return;
  }
  FAlive = true;
  ConnectionTimedOut();
}

void TTermWindow::TSClientConnecting() {
  ShowControl(true);
  ShowMsg(kMsgInformation, LoadStr(1040), false);
  FState = CONNECTING;
}

void TTermWindow::TSClientConnected() {
  ShowMsg(kMsgHide, "", false);
  if (FState >= START_CONNECT) {
    FAlive = true;
    HeartBeatTimer.SetEnabled(true);
    FState = CONNECTED;
  } else {
    RequestDisconnect();
  }
}

void TTermWindow::TSClientLoginComplete() {
  ShowMsg(kMsgHide, "", false);
  if (FState >= CONNECTED) {
    FSessionId = 0;
    FState = LOGGEDON;
    FAlive = true;
    HeartBeatTimer.SetEnabled(true);
  } else {
    RequestDisconnect();
    HeartBeatTimer.SetEnabled(false);
    FAlive = true;
  }
}

// The first two steps of a reported disconnection or fatal error.
void TTermWindow::EndOnControlReport() {
  FSessionId = -1;
  HeartBeatTimer.SetEnabled(false);
  FAlive = true;
  DetachDisplayWindow();
  ShowControl(false);
  FState = DISCONNECTED;
  FAgentStatus = 0;
  ConTimer.SetEnabled(false);
  FReassembly.Reset();
}

void TTermWindow::TSClientDisconnected(int32_t DisconnectReason) {
  // A time-out or the agent's failure has ended the session already, and its Disconnect is what
  // the control reports now: the reason shown stays that end's, not "Local disconnection".
  const int8_t endedBy = FState;
  EndOnControlReport();
  if (endedBy == DISCONNECTED_BY_TIMEOUT || endedBy == DISCONNECTED_BY_ERROR) {
    FState = endedBy;
    return;
  }
  const std::string text = LoadStr(1050) + DisconnectReasonText(DisconnectReason);
  ShowMsg(DisconnectReason <= kLastOrdinaryReason ? kMsgInformation : kMsgError, text, true);
}

void TTermWindow::TSClientFatalError(int32_t ErrorCode) {
  EndOnControlReport();
  ShowMsg(kMsgError, LoadStr(1060) + FatalErrorText(ErrorCode), true);
}

bool TTermWindow::AttachDisplayWindow() {
  DisplaySurfaces& surfaces = DisplaySurfaces::Instance();
  if (surfaces.Attached()) return true;
  QWidget* main = platform::FindChildWindow(TSClient->Widget(), "UIMainClass");
  QWidget* container = platform::FindChildWindow(main, "UIContainerClass");
  QWidget* output = platform::FindChildWindow(container, "OPWindowClass");
  if (surfaces.Attach(output != nullptr ? output->winId() : 0)) return true;
  FState = DISCONNECTED_BY_ERROR;
  DetachDisplayWindow();
  RequestDisconnect();
  ShowMsg(kMsgError, LoadStr(65), true);
  return false;
}

void TTermWindow::DetachDisplayWindow() { DisplaySurfaces::Instance().Release(); }

}  // namespace vorlix
