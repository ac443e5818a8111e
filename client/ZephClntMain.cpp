#include "client/ZephClntMain.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGridLayout>
#include <QShowEvent>

#include "client/Background.h"
#include "client/TClientMsgForm.h"
#include "common/ResultCodes.h"
#include "common/StrToInt.h"
#include "common/StringTable.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/rdp/EOleSysError.h"
#include "platform/registry/ERegistryException.h"
#include "platform/registry/TRegistry.h"
#include "platform/system/Pipe.h"
#include "platform/ui/MessageDlg.h"

namespace vorlix {

namespace {

constexpr const char* kSettingsKey = "Software\\Brackenholt\\Vorlix";
constexpr int32_t kDefaultTimeoutMs = 60000;
constexpr size_t kManagerArgs = 7;
constexpr size_t kStandaloneArgs = 9;

// The two signed 16-bit halves of CMD_SET_DEVICES' value: keyboard low, mouse high.
int32_t LowId(uint32_t value) { return static_cast<int16_t>(value & 0xFFFF); }
int32_t HighId(uint32_t value) { return static_cast<int16_t>(value >> 16); }

}  // namespace

TTermWindow::TTermWindow(std::vector<std::string> args)
    : QWidget(nullptr, Qt::FramelessWindowHint | Qt::Tool), args_(std::move(args)) {
  setObjectName("TermWindow");
  setWindowTitle("TermWindow");
  Fon.setObjectName("Fon");
  Fon.setPixmap(MakeBackground());
  Fon.setScaledContents(true);
  // A standalone client may run before any manager registered the control.
  TSClient.reset(platform::CreateRemoteDesktopControlRegistering(this));
  TSClient->Widget()->setObjectName("TSClient");
  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(&Fon, 0, 0);
  layout->addWidget(TSClient->Widget(), 0, 0);
  ConTimer.OnTimer = [this] { ConTimerTimer(); };
  HeartBeatTimer.OnTimer = [this] { HeartBeatTimerTimer(); };
  CtrAltDelTimer.OnTimer = [this] { CtrAltDelTimerTimer(); };
  WireControlEvents();
  FormCreate();
}

TTermWindow::~TTermWindow() { FormDestroy(); }

void TTermWindow::WireControlEvents() {
  TSClient->OnConnecting = [this] { TSClientConnecting(); };
  TSClient->OnConnected = [this] { TSClientConnected(); };
  TSClient->OnLoginComplete = [this] { TSClientLoginComplete(); };
  TSClient->OnDisconnected = [this](int32_t reason) { TSClientDisconnected(reason); };
  TSClient->OnFatalError = [this](int32_t code) { TSClientFatalError(code); };
  TSClient->OnChannelReceivedData = [this](const std::u16string& name, const std::string& bytes) {
    TSClientChannelReceivedData(name, bytes);
  };
  // Full-screen and size events are handled by doing nothing.
}

void TTermWindow::FormCreate() {
  HeartBeatTimer.SetEnabled(false);
  FHostName = "localhost";
  FConnectTimeout = kDefaultTimeoutMs;
  FLostTimeout = kDefaultTimeoutMs;
  Fon.show();
  TSClient->Widget()->hide();
  FChannelLock = std::make_unique<std::mutex>();
  FChannelName = u"Vorlix";
  if (args_.size() < kManagerArgs) {
    platform::MessageDlg(LoadStr(75), platform::MsgDlgType::mtError, platform::mbAbort);
    terminated_ = true;
    return;
  }
  try {
    if (!ParseArguments()) return;
  } catch (const EConvertError& error) {
    platform::ShowException(error.what());
    return;
  }
  // Set before the command thread runs: a pipe that breaks at once must leave it true.
  if (!FStandalone) FCanClose = false;
  TClientPipeThread::Start(FPipeIn, FPipeOut, *this);
  FKbdEvent = std::make_unique<platform::Event>(platform::Event::Reset::Manual);
  FMouEvent = std::make_unique<platform::Event>(platform::Event::Reset::Manual);
  FInputThread = std::make_unique<TInputThread>(*FKbdEvent, *FMouEvent);
  ConfigureControl();
  SendHandshake(0);
}

bool TTermWindow::ParseArguments() {
  StrToInt(args_[0]);  // the workplace number: checked, not needed here
  const int32_t top = StrToInt(args_[1]);
  const int32_t left = StrToInt(args_[2]);
  const int32_t height = StrToInt(args_[3]);
  const int32_t width = StrToInt(args_[4]);
  setGeometry(left, top, width, height);
  FPipeIn = StrToInt(args_[5]);
  FPipeOut = StrToInt(args_[6]);
  TSClient->SetServer(std::u16string(FHostName.begin(), FHostName.end()));
  TSClient->SetDesktopWidth(width);
  TSClient->SetDesktopHeight(height);
  if (args_.size() == kStandaloneArgs) {
    FKbdId = StrToInt(args_[7]);
    FMouId = StrToInt(args_[8]);
    FStandalone = true;
  }
  return true;
}

void TTermWindow::ConfigureControl() {
  FAdvancedSettings = TSClient->AdvancedSettings();
  if (FAdvancedSettings) {
    FAdvancedSettings->SetCompress(0);
    FAdvancedSettings->SetallowBackgroundInput(1);
    FAdvancedSettings->SetBitmapPeristence(0);
    FAdvancedSettings->SetContainerHandledFullScreen(1);
    FAdvancedSettings->SetDisableRdpdr(1);
  }
  FSecuredSettings = TSClient->SecuredSettings();
  if (FSecuredSettings) FSecuredSettings->SetFullScreen(0);
  TSClient->CreateVirtualChannels(FChannelName);
}

void TTermWindow::SendHandshake(uint32_t value) {
  if (FPipeOut == -1) return;
  const PipeMsg ready{CMD_READY, value};
  size_t written = 0;
  platform::WriteWhole(FPipeOut, &ready, sizeof ready, written);
}

// Qt::Tool already keeps the window off the task bar.
void TTermWindow::FormShow() {
  if (FStandalone) ArmCtrlAltDelWatch();
}

// Also runs when FormCreate stopped early or raised: the input thread must end before the events
// it waits on go away.
void TTermWindow::FormDestroy() {
  DetachDisplayWindow();
  if (FInputThread) FInputThread->TerminateAndWait();
  FInputThread.reset();
  FKbdEvent.reset();
  FMouEvent.reset();
  FChannelLock.reset();
}

void TTermWindow::ReadSettings() {
  platform::TRegistry reg(platform::KeyAccess::Read);
  if (!reg.OpenKeyReadOnly(kSettingsKey)) return;
  try {
    FHostName = reg.ReadString("TsHostName");
  } catch (const platform::ERegistryException&) {
  }
  try {
    FConnectTimeout = reg.ReadInteger("ConnectionTimeOut");
  } catch (const platform::ERegistryException&) {
  }
  try {
    FLostTimeout = reg.ReadInteger("LostConnectionTimeOut");
  } catch (const platform::ERegistryException&) {
  }
  reg.CloseKey();
  HeartBeatTimer.SetInterval(FLostTimeout);
  TSClient->SetServer(std::u16string(FHostName.begin(), FHostName.end()));
}

void TTermWindow::AppendSymbols(uint32_t packed) {
  std::lock_guard guard(symbolsLock_);
  for (; packed != 0; packed >>= 8) {
    if (const char symbol = static_cast<char>(packed & 0xFF)) FSymbols += symbol;
  }
}

std::string TTermWindow::Symbols() const {
  std::lock_guard guard(symbolsLock_);
  return FSymbols;
}

uint32_t TTermWindow::RunOnMain(uint32_t command, uint32_t value) {
  uint32_t result = 0;
  QMetaObject::invokeMethod(
      this, [&] { result = RunCommand(command, value); }, Qt::BlockingQueuedConnection);
  return result;
}

uint32_t TTermWindow::RunCommand(uint32_t command, uint32_t value) {
  switch (command) {
    case CMD_SET_DEVICES:
      return SetDevices(LowId(value), HighId(value)) ? 0 : E_FAIL;
    case CMD_SHOW_SELECTION: {
      std::lock_guard guard(symbolsLock_);
      FSymbols.clear();
      return 0;
    }
    case CMD_CONNECT:
      return RequestConnect();
    case CMD_DISCONNECT:
      return RequestDisconnect();
    case CMD_PROMPT_LOGIN:
      ShowMsg(kMsgInformation, LoadStr(1070), false);
      return ArmCtrlAltDelWatch();
    default:
      return 0;
  }
}

void TTermWindow::PipeEnded() {
  FCanClose = true;
  if (!FStandalone) QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TTermWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TTermWindow::closeEvent(QCloseEvent* event) {
  FormCloseQuery() ? event->accept() : event->ignore();
}

}  // namespace vorlix
