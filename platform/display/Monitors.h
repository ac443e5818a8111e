#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/Rect.h"

namespace vorlix::platform {

inline constexpr uint32_t DISPLAY_DEVICE_ATTACHED_TO_DESKTOP = 1;
inline constexpr uint32_t DISPLAY_DEVICE_PRIMARY_DEVICE = 4;
inline constexpr uint32_t DISPLAY_DEVICE_MIRRORING_DRIVER = 8;

// One monitor as the display system describes it.
struct DisplayMonitor {
  Rect rect;                   // virtual-screen coordinates
  std::string deviceName;      // the XRandR output name, e.g. "DUMMY1"
  bool systemPrimary = false;  // the monitor flags mark it primary
  bool deviceQueried = true;   // the display device could be described (always with XRandR)
  uint32_t deviceState = 0;    // DISPLAY_DEVICE_* bits

  friend bool operator==(const DisplayMonitor&, const DisplayMonitor&) = default;
};

// Every monitor of the X screen named by DISPLAY (or by displayName), in the XRandR output
// order; empty when the display cannot be opened or has no XRandR 1.3.
std::vector<DisplayMonitor> EnumerateDisplayMonitors(const char* displayName = nullptr);

}  // namespace vorlix::platform
