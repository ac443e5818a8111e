#pragma once

#include <QLabel>
#include <QWidget>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "client/TClientPipeThread.h"
#include "client/TInputThread.h"
#include "common/ChannelProtocol.h"
#include "common/ChannelReassembler.h"
#include "common/PipeProtocol.h"
#include "inputdev/TZephKbd.h"
#include "inputdev/TZephMou.h"
#include "platform/rdp/MsTscAx.h"
#include "platform/system/Event.h"
#include "platform/ui/TTimer.h"

namespace vorlix {

class TClientMsgForm;

// Connection states; above DISCONNECTED counts as busy.
enum ConnectionState : int8_t {
  DISCONNECTED_BY_TIMEOUT = 0,
  DISCONNECTED_BY_ERROR = 1,
  DISCONNECTED = 2,
  START_CONNECT = 3,
  CONNECTING = 4,
  CONNECTED = 5,
  LOGGEDON = 6,
  DISCONNECTING = 7,
};

// The client's window: borderless, exactly over its workplace's monitor, hosting the remote
// desktop control TSClient over the background picture Fon. Creating it runs FormCreate, which
// reads the command line, sets up the control and its channel, starts the command and input
// threads and tells the manager it is ready. It runs one connection at a time: a session starts
// on Ctrl+Alt+Del from the workplace's keyboard (or CMD_CONNECT), the three timers watch it, and
// the message window tells why it ended. GUI thread, except where PipeCommandTarget says.
class TTermWindow : public QWidget, public PipeCommandTarget {
 public:
  // `args`: the command-line arguments after the program name.
  explicit TTermWindow(std::vector<std::string> args);
  ~TTermWindow() override;

  // FormCreate ended the application (a bad command line).
  bool Terminated() const { return terminated_; }

  void FormCreate();
  void FormShow();
  bool FormCloseQuery() const { return FCanClose; }
  void FormDestroy();
  void ReadSettings();
  void SendHandshake(uint32_t value);
  // The message window, created after this window; ShowMsg needs it.
  void SetMessageForm(TClientMsgForm* form) { ClientMsgForm = form; }

  // Connection lifecycle: results are 0 or E_FAIL.
  void ShowMsg(int32_t kind, const std::string& text, bool prompt);
  uint32_t RequestConnect();
  uint32_t RequestDisconnect();
  void ConnectionTimedOut();
  bool SetDevices(int32_t kbdId, int32_t mouId);
  uint32_t ArmCtrlAltDelWatch();
  bool AttachDisplayWindow();
  void DetachDisplayWindow();

  // Session channel.
  void SendChannelMessage(uint16_t type, const void* payload, uint16_t length);
  void HandleChannelMessage(std::string_view message);

  int8_t State() const override { return FState; }
  void AppendSymbols(uint32_t packed) override;
  uint32_t RunOnMain(uint32_t command, uint32_t value) override;
  // A manager's command as the main thread runs it; its result.
  uint32_t RunCommand(uint32_t command, uint32_t value);
  void PipeEnded() override;

  // For tests and diagnostics.
  int32_t KbdId() const { return FKbdId; }
  int32_t MouId() const { return FMouId; }
  std::string Symbols() const;
  platform::TMsTscAx* Control() const { return TSClient.get(); }
  uint32_t AgentStatus() const { return FAgentStatus; }
  int32_t SessionId() const { return FSessionId; }
  bool WatchRunning() const { return CtrAltDelTimer.Enabled(); }
  int WatchMask() const { return CtrAltDelTimer.Tag; }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  bool ParseArguments();
  void ConfigureControl();
  void WireControlEvents();
  void ShowControl(bool show);

  // Handlers of the control's events and of the timers.
  void TSClientConnecting();
  void TSClientConnected();
  void TSClientLoginComplete();
  void TSClientDisconnected(int32_t DisconnectReason);
  void TSClientFatalError(int32_t ErrorCode);
  void TSClientChannelReceivedData(const std::u16string& chanName, const std::string& bytes);
  void EndOnControlReport();
  void ConTimerTimer();
  void HeartBeatTimerTimer();
  void CtrAltDelTimerTimer();
  // Reads the keyboard's queued units into the watch's key mask; true once it holds Ctrl+Alt+Del.
  bool WatchKeys();

  // Components.
  QLabel Fon;
  std::unique_ptr<platform::TMsTscAx> TSClient;
  platform::TTimer ConTimer{500};
  platform::TTimer CtrAltDelTimer{200};
  platform::TTimer HeartBeatTimer{60000};

  TClientMsgForm* ClientMsgForm = nullptr;

  // Members.
  platform::IMsTscAdvancedSettings* FAdvancedSettings = nullptr;
  platform::IMsTscSecuredSettings* FSecuredSettings = nullptr;
  std::unique_ptr<TInputThread> FInputThread;
  TZephKbd FKbd;
  TZephMou FMou;
  // The send buffer: the byte count right before the message makes it a length-prefixed string
  // the control sends as it is.
  struct alignas(4) SendBuffer {
    uint32_t byteCount = 0;
    uint8_t message[kChannelHeaderSize + kMaxSendPayload] = {};
  } FSendBuffer;
  std::u16string FChannelName;
  std::unique_ptr<std::mutex> FChannelLock;
  ChannelReassembler FReassembly{[this](std::string_view m) { HandleChannelMessage(m); }};
  bool FAlive = true;
  std::string FHostName;
  int32_t FConnectTimeout = 0;
  int32_t FLostTimeout = 0;
  std::atomic<int8_t> FState{DISCONNECTED};
  uint32_t FAgentStatus = 0;
  int32_t FMouId = -1;
  int32_t FKbdId = -1;
  std::atomic<bool> FCanClose{true};
  int FPipeIn = -1;
  int FPipeOut = -1;
  int32_t FSessionId = -1;
  bool FStandalone = false;
  std::unique_ptr<platform::Event> FMouEvent;
  std::unique_ptr<platform::Event> FKbdEvent;
  mutable std::mutex symbolsLock_;  // FSymbols grows on the command thread
  std::string FSymbols;
  // A sequence word, then room for one device read.
  alignas(4) uint8_t FInputBuffer[4 + kMaxInputUnits * kInputUnitSize] = {};

  std::vector<std::string> args_;
  bool terminated_ = false;
};

}  // namespace vorlix
