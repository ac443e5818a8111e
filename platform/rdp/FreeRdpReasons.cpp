#include "platform/rdp/FreeRdpReasons.h"

#include <freerdp/error.h>

namespace vorlix::platform {

namespace {

constexpr int32_t kLocal = 1;
constexpr int32_t kRemoteByUser = 2;
constexpr int32_t kRemoteByServer = 3;
constexpr int32_t kNameLookupFailed = 260;
constexpr int32_t kOutOfMemory = 262;
constexpr int32_t kConnectFailed = 516;
constexpr int32_t kInvalidSecurityData = 1030;
constexpr int32_t kDnsLookupFailed = 1288;
constexpr int32_t kInvalidServerSecurityData = 1542;
constexpr int32_t kSecurityError = 2310;
constexpr int32_t kSocketClosed = 2308;

struct ErrorReason {
  uint32_t error;
  int32_t reason;
};

// FreeRDP's connection errors that have a reason of their own.
constexpr ErrorReason kConnectErrors[] = {
    {FREERDP_ERROR_DNS_NAME_NOT_FOUND, kNameLookupFailed},
    {FREERDP_ERROR_DNS_ERROR, kDnsLookupFailed},
    {FREERDP_ERROR_CONNECT_FAILED, kConnectFailed},
    {FREERDP_ERROR_TLS_CONNECT_FAILED, kSecurityError},
    {FREERDP_ERROR_SECURITY_NEGO_CONNECT_FAILED, kInvalidSecurityData},
    {FREERDP_ERROR_AUTHENTICATION_FAILED, kInvalidSecurityData},
    {FREERDP_ERROR_CONNECT_CANCELLED, kLocal},
    {FREERDP_ERROR_OUT_OF_MEMORY, kOutOfMemory},
};

int32_t ServerReason(uint32_t errorInfo) {
  return errorInfo == ERRINFO_RPC_INITIATED_DISCONNECT_BY_USER ||
                 errorInfo == ERRINFO_LOGOFF_BY_USER
             ? kRemoteByUser
             : kRemoteByServer;
}

}  // namespace

int32_t DisconnectReasonOf(const ConnectionEnd& end) {
  if (end.localRequest) return kLocal;
  if (end.certificateRefused) return kInvalidServerSecurityData;
  if (end.errorInfo != 0) return ServerReason(end.errorInfo);
  if (end.connected) return end.serverEnded ? kRemoteByServer : kSocketClosed;
  for (const ErrorReason& entry : kConnectErrors) {
    if (entry.error == end.lastError) return entry.reason;
  }
  return kConnectFailed;
}

}  // namespace vorlix::platform
