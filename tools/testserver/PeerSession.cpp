#include "tools/testserver/PeerSession.h"

#include <algorithm>
#include <cstdio>

#include <freerdp/channels/wtsvc.h>
#include <freerdp/error.h>
#include <freerdp/session.h>
#include <winpr/synch.h>

#include "common/ChannelProtocol.h"
#include "tools/testserver/ArrowPointer.h"

namespace vorlix::testserver {

namespace {

constexpr uint32_t kMaxDesktopSide = 8192;
// About ten pictures a second keep screen updates flowing.
constexpr Milliseconds kFrameInterval{100};
// After the disconnect PDUs, how long the client may take to hang up itself.
constexpr Milliseconds kHangUpWait{2000};

}  // namespace

PeerSession::PeerSession(freerdp_peer* client, const PeerEnvironment& environment, unsigned number)
    : client_(client), environment_(environment), number_(number) {
  std::fprintf(stderr, "connection %u: from %s\n", number_, client_->hostname);
}

PeerSession::~PeerSession() {
  agent_.reset();
  if (client_->context) {
    client_->Disconnect(client_);
    if (vcm_) WTSCloseServer(vcm_);
    freerdp_peer_context_free(client_);
  }
  freerdp_peer_free(client_);
  std::fprintf(stderr, "connection %u: ended\n", number_);
}

void PeerSession::Run() {
  if (!Setup()) {
    std::fprintf(stderr, "connection %u: cannot set up the session\n", number_);
    return;
  }
  while (Pump()) {
  }
}

PeerSession& PeerSession::Of(freerdp_peer* client) {
  return *static_cast<PeerSession*>(client->ContextExtra);
}

bool PeerSession::Setup() {
  client_->ContextExtra = this;
  if (!freerdp_peer_context_new(client_)) return false;
  rdpSettings* settings = client_->settings;
  // TLS only, so that a client always sees the certificate and checks it. Certificate and key
  // share one PEM text; each reader picks its own block.
  if (!freerdp_settings_set_string(settings, FreeRDP_CertificateContent,
                                   environment_.certificate.c_str()) ||
      !freerdp_settings_set_string(settings, FreeRDP_PrivateKeyContent,
                                   environment_.certificate.c_str()) ||
      !freerdp_settings_set_bool(settings, FreeRDP_TlsSecurity, TRUE) ||
      !freerdp_settings_set_bool(settings, FreeRDP_NlaSecurity, FALSE) ||
      !freerdp_settings_set_bool(settings, FreeRDP_RdpSecurity, FALSE) ||
      !freerdp_settings_set_uint32(settings, FreeRDP_ColorDepth, 32)) {
    return false;
  }
  client_->PostConnect = [](freerdp_peer* client) { return Of(client).OnPostConnect(); };
  client_->Activate = [](freerdp_peer* client) { return Of(client).OnActivate(); };
  vcm_ = WTSOpenServerA(reinterpret_cast<LPSTR>(client_->context));
  if (vcm_ == INVALID_HANDLE_VALUE) vcm_ = nullptr;
  return vcm_ && client_->Initialize(client_);
}

BOOL PeerSession::OnPostConnect() {
  // Without the channel the session still paints and logs on, only nobody talks.
  std::string name = kChannelName;
  HANDLE channel = WTSVirtualChannelManagerIsChannelJoined(vcm_, name.c_str())
                       ? WTSVirtualChannelOpen(vcm_, WTS_CURRENT_SESSION, name.data())
                       : nullptr;
  if (channel) agent_.emplace(channel, environment_.options.agent, environment_.record);
  return TRUE;
}

BOOL PeerSession::OnActivate() {
  const rdpSettings* settings = client_->settings;
  const uint32_t width = std::clamp<uint32_t>(settings->DesktopWidth, 1, kMaxDesktopSide);
  const uint32_t height = std::clamp<uint32_t>(settings->DesktopHeight, 1, kMaxDesktopSide);
  picture_.emplace(width, height);
  if (!picture_->PaintAll(client_->context) || !SendArrowPointer(client_->context)) return FALSE;
  const Clock::time_point now = Clock::now();
  paint_.Every(now, kFrameInterval);
  // A reactivation repaints; the session itself goes on.
  if (activated_) return TRUE;
  activated_ = true;
  logon_.Once(now + environment_.options.logonDelay);
  if (environment_.options.disconnectAfter) {
    disconnect_.Once(now + *environment_.options.disconnectAfter);
  }
  std::fprintf(stderr, "connection %u: desktop %ux%u, channel %s %s\n", number_, width, height,
               kChannelName, agent_ ? "open" : "not declared");
  return TRUE;
}

bool PeerSession::Pump() {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  DWORD count = client_->GetEventHandles(client_, handles, MAXIMUM_WAIT_OBJECTS - 2);
  if (count == 0) return false;
  handles[count++] = WTSVirtualChannelManagerGetEventHandle(vcm_);
  handles[count++] = environment_.stopEvent;
  if (WaitForMultipleObjects(count, handles, FALSE, WaitTimeout(Clock::now())) == WAIT_FAILED) {
    return false;
  }
  if (WaitForSingleObject(environment_.stopEvent, 0) == WAIT_OBJECT_0) {
    if (activated_ && !closing_) client_->Close(client_);
    return false;
  }
  if (!client_->CheckFileDescriptor(client_) ||
      !WTSVirtualChannelManagerCheckFileDescriptor(vcm_)) {
    return false;
  }
  if (agent_) agent_->Receive();
  return RunDueWork(Clock::now());
}

DWORD PeerSession::WaitTimeout(Clock::time_point now) const {
  auto next = Earlier(Earlier(paint_.Next(), logon_.Next()), disconnect_.Next());
  if (agent_) next = Earlier(next, agent_->NextDue());
  if (!next) return INFINITE;
  if (*next <= now) return 0;
  return static_cast<DWORD>(std::chrono::ceil<Milliseconds>(*next - now).count());
}

bool PeerSession::RunDueWork(Clock::time_point now) {
  if (disconnect_.Due(now)) return !closing_ && Leave(now);
  if (closing_) return true;
  if (paint_.Due(now) && !picture_->Step(client_->context)) return false;
  if (logon_.Due(now)) {
    if (!SendLogon()) return false;
    if (agent_) agent_->Start(now);
  }
  if (agent_) agent_->Tick(now);
  return true;
}

bool PeerSession::SendLogon() {
  std::string user = "user";
  std::string domain = "TESTSERVER";
  logon_info info{};
  info.sessionId = environment_.options.agent.session;
  info.username = user.data();
  info.domain = domain.data();
  return client_->update->SaveSessionInfo(client_->context, INFO_TYPE_LOGON, &info);
}

bool PeerSession::Leave(Clock::time_point now) {
  const std::optional<uint32_t>& reason = environment_.options.reason;
  // Without a reason the server just drops the connection.
  if (!reason) return false;
  rdpRdp* rdp = client_->context->rdp;
  freerdp_set_error_info(rdp, *reason);
  freerdp_send_error_info(rdp);
  // Close would send it once more.
  freerdp_set_error_info(rdp, ERRINFO_SUCCESS);
  client_->Close(client_);
  closing_ = true;
  disconnect_.Once(now + kHangUpWait);
  return true;
}

}  // namespace vorlix::testserver
