#include "platform/rdp/FreeRdpEngine.h"

#include <freerdp/channels/channels.h>
#include <freerdp/codec/color.h>
#include <freerdp/freerdp.h>
#include <freerdp/gdi/gdi.h>
#include <freerdp/graphics.h>
#include <freerdp/session.h>
#include <winpr/synch.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/rdp/CertificateFingerprint.h"
#include "platform/rdp/FreeRdpReasons.h"
#include "platform/rdp/KnownServers.h"
#include "platform/rdp/ServerAddress.h"
#include "platform/surface/Cursor.h"
#include "platform/surface/Surface.h"

namespace vorlix::platform {

namespace {

// Fatal errors of the control, in the original platform's codes.
constexpr int32_t kFatalOutOfMemory = 2;
constexpr int32_t kFatalWindowCreation = 3;

struct EngineContext {
  rdpContext base;
  FreeRdpEngine* engine;
};

struct EnginePointer {
  rdpPointer base;
  HCURSOR cursor;
};

FreeRdpEngine& EngineOf(rdpContext* context) {
  return *reinterpret_cast<EngineContext*>(context)->engine;
}

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (const char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

// Channel data arrives in the pieces the server sent; each piece is one delivery.
BOOL ReceiveChannelData(freerdp* instance, UINT16 channelId, const BYTE* data, size_t size, UINT32,
                        size_t) {
  EngineOf(instance->context).OnChannelData(channelId, data, size);
  return TRUE;
}

BOOL SaveSessionInfo(rdpContext* context, UINT32 type, void*) {
  if (type == INFO_TYPE_LOGON || type == INFO_TYPE_LOGON_LONG ||
      type == INFO_TYPE_LOGON_PLAIN_NOTIFY) {
    EngineOf(context).OnLogon();
  }
  return TRUE;
}

BOOL BeginPaint(rdpContext* context) {
  if (context->gdi->primary == nullptr) return FALSE;
  HGDI_WND window = context->gdi->primary->hdc->hwnd;
  window->invalid->null = TRUE;
  window->ninvalid = 0;
  return TRUE;
}

BOOL EndPaint(rdpContext* context) {
  EngineOf(context).OnEndPaint(context);
  return TRUE;
}

BOOL DesktopResize(rdpContext* context) { return EngineOf(context).OnResize(context); }

BOOL PointerNew(rdpContext* context, rdpPointer* pointer) {
  std::vector<uint32_t> argb(static_cast<size_t>(pointer->width) * pointer->height);
  if (argb.empty()) return TRUE;
  if (!freerdp_image_copy_from_pointer_data(
          reinterpret_cast<BYTE*>(argb.data()), PIXEL_FORMAT_BGRA32, pointer->width * 4, 0, 0,
          pointer->width, pointer->height, pointer->xorMaskData, pointer->lengthXorMask,
          pointer->andMaskData, pointer->lengthAndMask, pointer->xorBpp, &context->gdi->palette)) {
    return FALSE;
  }
  reinterpret_cast<EnginePointer*>(pointer)->cursor = CreateArgbCursor(
      static_cast<int>(pointer->width), static_cast<int>(pointer->height),
      static_cast<int>(pointer->xPos), static_cast<int>(pointer->yPos), argb.data());
  return TRUE;
}

void PointerFree(rdpContext*, rdpPointer* pointer) {
  auto* shape = reinterpret_cast<EnginePointer*>(pointer);
  if (shape->cursor != nullptr) DestroyCursor(shape->cursor);
  shape->cursor = nullptr;
}

BOOL PointerSet(rdpContext*, const rdpPointer* pointer) {
  SetCursor(reinterpret_cast<const EnginePointer*>(pointer)->cursor);
  return TRUE;
}

BOOL PointerSetNull(rdpContext*) {
  SetCursor(nullptr);
  return TRUE;
}

BOOL PointerSetDefault(rdpContext*) {
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  return TRUE;
}

BOOL PointerSetPosition(rdpContext*, UINT32, UINT32) { return TRUE; }

void RegisterPointer(rdpContext* context) {
  rdpPointer pointer{};
  pointer.size = sizeof(EnginePointer);
  pointer.New = PointerNew;
  pointer.Free = PointerFree;
  pointer.Set = PointerSet;
  pointer.SetNull = PointerSetNull;
  pointer.SetDefault = PointerSetDefault;
  pointer.SetPosition = PointerSetPosition;
  graphics_register_pointer(context->graphics, &pointer);
}

// No credentials are given: the server's own log-on screen shows. That needs TLS without NLA;
// plain RDP security is off so that the server's certificate is always checked.
bool ApplySettings(rdpSettings* settings, const RdpSettings& from) {
  const std::optional<ServerAddress> address = ParseServerAddress(Narrow(from.server));
  if (!address ||
      !freerdp_settings_set_string(settings, FreeRDP_ServerHostname, address->host.c_str())) {
    return false;
  }
  freerdp_settings_set_uint32(settings, FreeRDP_ServerPort, address->port);
  freerdp_settings_set_uint32(settings, FreeRDP_DesktopWidth,
                              static_cast<UINT32>(std::clamp(from.desktopWidth, 200, 8192)));
  freerdp_settings_set_uint32(settings, FreeRDP_DesktopHeight,
                              static_cast<UINT32>(std::clamp(from.desktopHeight, 200, 8192)));
  freerdp_settings_set_uint32(settings, FreeRDP_ColorDepth, 32);
  freerdp_settings_set_bool(settings, FreeRDP_SoftwareGdi, TRUE);
  freerdp_settings_set_bool(settings, FreeRDP_SupportGraphicsPipeline, FALSE);
  freerdp_settings_set_bool(settings, FreeRDP_NlaSecurity, FALSE);
  freerdp_settings_set_bool(settings, FreeRDP_TlsSecurity, TRUE);
  freerdp_settings_set_bool(settings, FreeRDP_RdpSecurity, FALSE);
  freerdp_settings_set_bool(settings, FreeRDP_ExternalCertificateManagement, TRUE);
  freerdp_settings_set_bool(settings, FreeRDP_CompressionEnabled, from.compress != 0);
  freerdp_settings_set_bool(settings, FreeRDP_BitmapCachePersistEnabled,
                            from.bitmapPersistence != 0);
  freerdp_settings_set_bool(settings, FreeRDP_DeviceRedirection, from.disableRdpdr == 0);
  freerdp_settings_set_bool(settings, FreeRDP_Fullscreen, from.fullScreen != 0);
  return true;
}

bool AddChannels(rdpSettings* settings, const std::vector<std::u16string>& names) {
  for (const std::u16string& name : names) {
    const UINT32 count = freerdp_settings_get_uint32(settings, FreeRDP_ChannelCount);
    if (count >= freerdp_settings_get_uint32(settings, FreeRDP_ChannelDefArraySize)) return false;
    CHANNEL_DEF& def = settings->ChannelDefArray[count];
    def = CHANNEL_DEF{};
    std::strncpy(def.name, Narrow(name).c_str(), sizeof def.name - 1);
    def.options = CHANNEL_OPTION_INITIALIZED | CHANNEL_OPTION_ENCRYPT_RDP;
    freerdp_settings_set_uint32(settings, FreeRDP_ChannelCount, count + 1);
  }
  return true;
}

uint32_t ErrorInfoOf(freerdp* instance) {
  const uint32_t info = freerdp_error_info(instance);
  return info == ERRINFO_NONE ? 0 : info;
}

}  // namespace

FreeRdpEngine::FreeRdpEngine(RdpEventSink sink)
    : sink_(std::move(sink)), stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}

FreeRdpEngine::~FreeRdpEngine() {
  Disconnect();
  if (thread_.joinable()) thread_.join();
  CloseHandle(stopEvent_);
}

bool FreeRdpEngine::Connect(const RdpSettings& settings) {
  if (running_ && !stopRequested_) return false;
  if (thread_.joinable()) thread_.join();
  running_ = true;
  stopRequested_ = false;
  ResetEvent(stopEvent_);
  thread_ = std::thread(&FreeRdpEngine::Run, this, settings);
  return true;
}

void FreeRdpEngine::Disconnect() {
  if (!running_) return;
  stopRequested_ = true;
  SetEvent(stopEvent_);
  // A connection still being made is cut short. A sender may hold the lock, but senders only
  // get that far once the connection is up, and then the stop event is enough: the GUI thread
  // must not wait for a send.
  const std::unique_lock lock(instanceLock_, std::try_to_lock);
  if (lock.owns_lock() && instance_ != nullptr) freerdp_abort_connect(instance_);
}

bool FreeRdpEngine::Send(std::u16string_view channel, std::string_view data) {
  const std::lock_guard lock(instanceLock_);
  if (instance_ == nullptr) return false;
  const auto entry = std::find_if(channelIds_.begin(), channelIds_.end(),
                                  [&](const auto& known) { return known.first == channel; });
  if (entry == channelIds_.end()) return false;
  return instance_->SendChannelData(instance_, entry->second,
                                    reinterpret_cast<const BYTE*>(data.data()), data.size());
}

void FreeRdpEngine::Run(RdpSettings settings) {
  settings_ = std::move(settings);
  certificateRefused_ = false;
  loggedOn_ = false;
  fatalReported_ = false;
  Report(rdp_event::Connecting{});
  freerdp* instance = freerdp_new();
  if (instance == nullptr) {
    running_ = false;
    Report(rdp_event::FatalError{kFatalOutOfMemory});
    return;
  }
  instance->ContextSize = sizeof(EngineContext);
  instance->PreConnect = [](freerdp* self) -> BOOL {
    return EngineOf(self->context).OnPreConnect(self);
  };
  instance->PostConnect = [](freerdp* self) -> BOOL {
    return EngineOf(self->context).OnPostConnect(self);
  };
  instance->VerifyX509Certificate = [](freerdp* self, const BYTE* pem, size_t length,
                                       const char* host, UINT16 port, DWORD) -> int {
    return EngineOf(self->context)
        .OnCertificate(reinterpret_cast<const char*>(pem), length, host, port);
  };
  instance->ReceiveChannelData = ReceiveChannelData;
  if (!freerdp_context_new(instance)) {
    freerdp_free(instance);
    running_ = false;
    Report(rdp_event::FatalError{kFatalOutOfMemory});
    return;
  }
  reinterpret_cast<EngineContext*>(instance->context)->engine = this;
  {
    const std::lock_guard lock(instanceLock_);
    instance_ = instance;
  }
  ConnectionEnd end;
  const bool addressGood = ApplySettings(instance->settings, settings_);
  if (addressGood && !stopRequested_) {
    end.connected = freerdp_connect(instance);
    if (end.connected) {
      Report(rdp_event::Connected{});
      end.serverEnded = Pump(instance);
    }
  }
  end.localRequest = stopRequested_;
  end.certificateRefused = certificateRefused_;
  end.errorInfo = ErrorInfoOf(instance);
  end.lastError =
      addressGood ? freerdp_get_last_error(instance->context) : FREERDP_ERROR_DNS_NAME_NOT_FOUND;
  Teardown(instance);
  running_ = false;
  if (!fatalReported_) Report(rdp_event::Disconnected{DisconnectReasonOf(end)});
}

bool FreeRdpEngine::Pump(freerdp* instance) {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  handles[0] = stopEvent_;
  while (!stopRequested_) {
    const DWORD count =
        freerdp_get_event_handles(instance->context, handles + 1, MAXIMUM_WAIT_OBJECTS - 1);
    if (count == 0) return false;
    if (WaitForMultipleObjects(count + 1, handles, FALSE, INFINITE) == WAIT_FAILED) return false;
    if (stopRequested_) return false;
    if (!freerdp_check_event_handles(instance->context)) break;
    if (freerdp_shall_disconnect(instance)) return true;
  }
  return freerdp_shall_disconnect(instance);
}

void FreeRdpEngine::Teardown(freerdp* instance) {
  {
    const std::lock_guard lock(instanceLock_);
    instance_ = nullptr;
    channelIds_.clear();
  }
  freerdp_disconnect(instance);
  {
    const std::lock_guard lock(surfaceLock_);
    if (backSurface_ != nullptr) DeleteDC(backSurface_);
    if (windowSurface_ != nullptr) ReleaseDC(WindowFromDC(windowSurface_), windowSurface_);
    backSurface_ = nullptr;
    windowSurface_ = nullptr;
  }
  if (instance->context->gdi != nullptr) gdi_free(instance);
  freerdp_context_free(instance);
  freerdp_free(instance);
}

bool FreeRdpEngine::OnPreConnect(freerdp* instance) {
  return AddChannels(instance->settings, settings_.channels);
}

bool FreeRdpEngine::OnPostConnect(freerdp* instance) {
  if (!gdi_init(instance, PIXEL_FORMAT_BGRX32)) {
    fatalReported_ = true;
    Report(rdp_event::FatalError{kFatalWindowCreation});
    return false;
  }
  rdpContext* context = instance->context;
  RegisterPointer(context);
  context->update->BeginPaint = BeginPaint;
  context->update->EndPaint = EndPaint;
  context->update->DesktopResize = DesktopResize;
  context->update->SaveSessionInfo = SaveSessionInfo;
  {
    const std::lock_guard lock(instanceLock_);
    for (const std::u16string& name : settings_.channels) {
      channelIds_.emplace_back(name,
                               freerdp_channels_get_id_by_name(instance, Narrow(name).c_str()));
    }
  }
  const std::lock_guard lock(surfaceLock_);
  windowSurface_ = GetDC(settings_.displayWindow);
  return MakeBackSurface(context);
}

bool FreeRdpEngine::MakeBackSurface(rdpContext* context) {
  if (backSurface_ != nullptr) DeleteDC(backSurface_);
  backSurface_ = nullptr;
  const rdpGdi* gdi = context->gdi;
  if (gdi->primary == nullptr) return false;
  backSurface_ = CreatePixelSurface(static_cast<int>(gdi->width), static_cast<int>(gdi->height),
                                    static_cast<int>(gdi->stride), gdi->primary_buffer);
  return backSurface_ != nullptr;
}

bool FreeRdpEngine::OnCertificate(const char* pem, size_t length, const char* host, uint16_t port) {
  const std::string fingerprint = CertificateFingerprint(std::string_view(pem, length));
  if (fingerprint.empty() || host == nullptr) return false;
  const CertificateCheck check =
      CheckServerCertificate(std::string(host) + ":" + std::to_string(port), fingerprint);
  certificateRefused_ = check == CertificateCheck::Changed;
  return !certificateRefused_;
}

// No lock: a sender holding it may wait for the server, which may wait for this thread to read.
void FreeRdpEngine::OnChannelData(uint16_t channelId, const uint8_t* data, size_t size) {
  std::u16string name;
  for (const auto& [known, id] : channelIds_) {
    if (id == channelId) name = known;
  }
  if (name.empty()) return;
  Report(rdp_event::ChannelData{std::move(name),
                                std::string(reinterpret_cast<const char*>(data), size)});
}

void FreeRdpEngine::OnLogon() {
  if (loggedOn_) return;
  loggedOn_ = true;
  Report(rdp_event::LoginComplete{});
}

void FreeRdpEngine::OnEndPaint(rdpContext* context) {
  if (context->gdi->primary == nullptr) return;
  HGDI_WND window = context->gdi->primary->hdc->hwnd;
  if (!window->invalid->null) {
    const std::lock_guard lock(surfaceLock_);
    PaintLocked(window->invalid->x, window->invalid->y, window->invalid->w, window->invalid->h);
  }
  window->invalid->null = TRUE;
  window->ninvalid = 0;
}

bool FreeRdpEngine::OnResize(rdpContext* context) {
  const rdpSettings* settings = context->settings;
  const std::lock_guard lock(surfaceLock_);
  // The image is reallocated: the surface over the old one must not outlive it.
  DeleteDC(backSurface_);
  backSurface_ = nullptr;
  if (!gdi_resize(context->gdi, settings->DesktopWidth, settings->DesktopHeight) ||
      !MakeBackSurface(context)) {
    return false;
  }
  Report(rdp_event::DesktopSizeChange{static_cast<int32_t>(settings->DesktopWidth),
                                      static_cast<int32_t>(settings->DesktopHeight)});
  return true;
}

void FreeRdpEngine::Repaint(int x, int y, int width, int height) {
  const std::lock_guard lock(surfaceLock_);
  PaintLocked(x, y, width, height);
}

void FreeRdpEngine::PaintLocked(int x, int y, int width, int height) {
  if (windowSurface_ != nullptr && backSurface_ != nullptr) {
    BitBlt(windowSurface_, x, y, width, height, backSurface_, x, y, SRCCOPY);
  }
}

}  // namespace vorlix::platform
