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
#include "common/PipeProtocol.h"
#include "platform/rdp/MsTscAx.h"
#include "platform/system/Event.h"
#include "platform/ui/TTimer.h"

namespace vorlix {

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
// threads and tells the manager it is ready. GUI thread, except where PipeCommandTarget says.
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
  bool SetDevices(int32_t kbdId, int32_t mouId);

  int8_t State() const override { return FState; }
  void AppendSymbols(uint32_t packed) override;
  uint32_t RunOnMain(uint32_t command, uint32_t value) override;
  void PipeEnded() override;

  // For tests and diagnostics.
  int32_t KbdId() const { return FKbdId; }
  int32_t MouId() const { return FMouId; }
  std::string Symbols() const;
  platform::TMsTscAx* Control() const { return TSClient.get(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  uint32_t RunCommand(uint32_t command, uint32_t value);
  bool ParseArguments();
  void ConfigureControl();

  // Components.
  QLabel Fon;
  std::unique_ptr<platform::TMsTscAx> TSClient;
  platform::TTimer ConTimer{500};
  platform::TTimer CtrAltDelTimer{200};
  platform::TTimer HeartBeatTimer{60000};

  // Members.
  platform::IMsTscAdvancedSettings* FAdvancedSettings = nullptr;
  platform::IMsTscSecuredSettings* FSecuredSettings = nullptr;
  std::unique_ptr<TInputThread> FInputThread;
  std::u16string FChannelName;
  std::unique_ptr<std::mutex> FChannelLock;
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

  std::vector<std::string> args_;
  bool terminated_ = false;
};

}  // namespace vorlix
