#include "platform/rdp/TMsTscAxControl.h"

#include <QVBoxLayout>
#include <algorithm>
#include <string_view>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/rdp/WindowClass.h"

namespace vorlix::platform {

namespace {

// The protocol's limits: channel names fit 8 bytes with their terminator.
constexpr size_t kMaxChannelName = 7;
constexpr size_t kMaxChannels = 30;

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};

template <class... Params, class... Args>
void Call(const std::function<void(Params...)>& handler, const Args&... args) {
  if (handler) handler(args...);
}

// Printable ASCII only: names travel as 8-bit text.
bool IsValidChannelName(std::u16string_view name) {
  return !name.empty() && name.size() <= kMaxChannelName &&
         std::all_of(name.begin(), name.end(), [](char16_t c) { return c > u' ' && c < 0x7F; });
}

// Splits "a,b" into its names; false for a bad name, a name given twice or too many names.
bool ParseChannelNames(std::u16string_view names, std::vector<std::u16string>& out) {
  for (size_t start = 0;;) {
    const size_t comma = names.find(u',', start);
    const std::u16string_view name = names.substr(start, comma - start);
    if (!IsValidChannelName(name) || out.size() == kMaxChannels ||
        std::find(out.begin(), out.end(), name) != out.end()) {
      return false;
    }
    out.emplace_back(name);
    if (comma == std::u16string_view::npos) return true;
    start = comma + 1;
  }
}

// Makes `child` a window of class `className` that fills `parent`.
void Nest(QWidget& parent, QWidget& child, const char* className) {
  SetWindowClass(child, className);
  auto* layout = new QVBoxLayout(&parent);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(&child);
}

}  // namespace

TMsTscAxControl::TMsTscAxControl(QWidget* parent, const RdpEngineFactory& makeEngine)
    : QWidget(parent),
      outputWindow_([this](const QRect& area) {
        engine_->Repaint(area.x(), area.y(), area.width(), area.height());
      }),
      engine_(makeEngine(
          [this](uint32_t connection, RdpEvent event) { Post(connection, std::move(event)); })) {
  Nest(*this, mainWindow_, "UIMainClass");
  Nest(mainWindow_, containerWindow_, "UIContainerClass");
  Nest(containerWindow_, outputWindow_, "OPWindowClass");
}

HRESULT TMsTscAxControl::CreateVirtualChannels(const std::u16string& names) {
  if (connectCalled_) return HResult(E_FAIL);
  std::vector<std::u16string> channels;
  if (!ParseChannelNames(names, channels)) return E_INVALIDARG;
  settings_.channels = std::move(channels);
  return 0;
}

HRESULT TMsTscAxControl::Connect() {
  connectCalled_ = true;
  settings_.displayWindow = outputWindow_.winId();
  settings_.connection = connection_ + 1;
  if (!engine_->Connect(settings_)) return HResult(E_FAIL);
  connection_ = settings_.connection;
  return 0;
}

HRESULT TMsTscAxControl::Disconnect() {
  engine_->Disconnect();
  return 0;
}

HRESULT TMsTscAxControl::SendOnVirtualChannel(const std::u16string& name, BSTR message) {
  if (message == nullptr) return E_INVALIDARG;
  if (!connectCalled_ || !IsChannel(name)) return HResult(E_FAIL);
  const std::string_view bytes(reinterpret_cast<const char*>(message), SysStringByteLen(message));
  return engine_->Send(name, bytes) ? 0 : HResult(E_FAIL);
}

bool TMsTscAxControl::IsChannel(std::u16string_view name) const {
  const auto& channels = settings_.channels;
  return std::find(channels.begin(), channels.end(), name) != channels.end();
}

void TMsTscAxControl::Post(uint32_t connection, RdpEvent event) {
  // Queued even on the GUI thread, so that no event is raised inside a call to the control.
  // Events still queued when the control goes are dropped with it, and so are those of an
  // earlier connection still queued when Connect started the next one (the end of a connection
  // its host had already ended itself, say).
  QMetaObject::invokeMethod(
      this,
      [this, connection, event = std::move(event)] {
        if (connection == connection_) Raise(event);
      },
      Qt::QueuedConnection);
}

void TMsTscAxControl::Raise(const RdpEvent& event) {
  const Overloaded raise{
      [this](const rdp_event::Connecting&) { Call(OnConnecting); },
      [this](const rdp_event::Connected&) { Call(OnConnected); },
      [this](const rdp_event::LoginComplete&) { Call(OnLoginComplete); },
      [this](const rdp_event::Disconnected& e) { Call(OnDisconnected, e.reason); },
      [this](const rdp_event::FatalError& e) { Call(OnFatalError, e.errorCode); },
      [this](const rdp_event::ChannelData& e) { Call(OnChannelReceivedData, e.channel, e.data); },
      [this](const rdp_event::DesktopSizeChange& e) {
        Call(OnRemoteDesktopSizeChange, e.width, e.height);
      },
  };
  std::visit(raise, event);
}

}  // namespace vorlix::platform
