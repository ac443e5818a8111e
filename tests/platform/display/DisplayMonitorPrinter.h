#pragma once

#include <ostream>

#include "platform/display/Monitors.h"

namespace vorlix::platform {

// Readable failure messages for monitor lists.
inline void PrintTo(const DisplayMonitor& monitor, std::ostream* out) {
  *out << monitor.deviceName << " (" << monitor.rect.left << ", " << monitor.rect.top << ", "
       << monitor.rect.right << ", " << monitor.rect.bottom << ") state " << monitor.deviceState
       << (monitor.systemPrimary ? " primary" : "")
       << (monitor.deviceQueried ? "" : " not queried");
}

}  // namespace vorlix::platform
