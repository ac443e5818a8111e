#pragma once

#include <cstdint>

namespace vorlix::platform {

// How a connection of the FreeRDP engine ended, as far as the engine can tell.
struct ConnectionEnd {
  bool localRequest = false;        // Disconnect was called
  bool connected = false;           // the connection had come up
  bool certificateRefused = false;  // the server showed another certificate than remembered
  bool serverEnded = false;         // the server closed the session in order
  uint32_t errorInfo = 0;           // the server's Set Error Info code, 0 when none came
  uint32_t lastError = 0;           // FreeRDP's last error (freerdp_get_last_error)
};

// The disconnection reason the control reports for it, in the original platform's codes
// (1 local, 2 remote by user, 3 remote by server, 260 name lookup, 516 connect failure, ...).
int32_t DisconnectReasonOf(const ConnectionEnd& end);

}  // namespace vorlix::platform
