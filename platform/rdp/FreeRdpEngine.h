#pragma once

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "platform/rdp/RdpEngine.h"

struct rdp_freerdp;
struct rdp_context;

namespace vorlix::platform {

struct VorlixSurface;

// The control's engine on FreeRDP 2's client library. Each connection runs on a thread of its
// own (the control's thread): connect, then pump the connection until it ends, then report
// OnDisconnected with the reason and go. The session's image is drawn by FreeRDP's GDI into the
// engine's pixel surface and reaches the display window only through BitBlt; the session's
// pointer shapes are selected only through SetCursor.
class FreeRdpEngine final : public RdpEngine {
 public:
  explicit FreeRdpEngine(RdpEventSink sink);
  ~FreeRdpEngine() override;
  FreeRdpEngine(const FreeRdpEngine&) = delete;
  FreeRdpEngine& operator=(const FreeRdpEngine&) = delete;

  bool Connect(const RdpSettings& settings) override;
  void Disconnect() override;
  bool Send(std::u16string_view channel, std::string_view data) override;
  void Repaint(int x, int y, int width, int height) override;

  // Called by FreeRDP on the control's thread.
  bool OnPreConnect(rdp_freerdp* instance);
  bool OnPostConnect(rdp_freerdp* instance);
  bool OnCertificate(const char* pem, size_t length, const char* host, uint16_t port);
  void OnChannelData(uint16_t channelId, const uint8_t* data, size_t size);
  void OnLogon();
  void OnEndPaint(rdp_context* context);
  bool OnResize(rdp_context* context);

 private:
  void Run(RdpSettings settings);
  void Report(RdpEvent event) { sink_(settings_.connection, std::move(event)); }
  // Pumps a connection that is up until it ends; true when the server ended it in order.
  bool Pump(rdp_freerdp* instance);
  void Teardown(rdp_freerdp* instance);
  bool MakeBackSurface(rdp_context* context);
  void PaintLocked(int x, int y, int width, int height);

  RdpEventSink sink_;
  RdpSettings settings_;
  std::thread thread_;
  std::atomic<bool> running_{false};
  std::atomic<bool> stopRequested_{false};
  bool certificateRefused_ = false;
  bool loggedOn_ = false;
  // A fatal error ends the connection by itself: no disconnection is reported after it.
  bool fatalReported_ = false;
  void* stopEvent_ = nullptr;
  // Guards instance_ and channelIds_ for Disconnect and Send from other threads. Both are
  // written only by the control's thread, which therefore reads them without it.
  std::mutex instanceLock_;
  rdp_freerdp* instance_ = nullptr;
  std::vector<std::pair<std::u16string, uint16_t>> channelIds_;
  // Guards the surfaces: the control's thread paints, the GUI thread repaints exposed areas.
  std::mutex surfaceLock_;
  VorlixSurface* backSurface_ = nullptr;
  VorlixSurface* windowSurface_ = nullptr;
};

}  // namespace vorlix::platform
