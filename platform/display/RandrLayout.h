#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/display/Monitors.h"
#include "platform/display/Rect.h"

namespace vorlix::platform {

// What the X server reports about its outputs, reduced to what the monitor list needs.
struct RandrLayout {
  struct Output {
    std::string name;
    bool connected = false;
    bool primary = false;        // the server's primary output
    uint64_t crtc = 0;           // 0: the output drives no CRTC
    int32_t firstModeWidth = 0;  // 0 when the output has no mode
    int32_t firstModeHeight = 0;
  };
  struct Crtc {
    uint64_t id = 0;
    Rect rect;
  };

  std::vector<Output> outputs;  // in the server's order
  std::vector<Crtc> crtcs;      // those that show something
  int32_t screenWidth = 0;
};

// The connected outputs as monitors, in the order of layout.outputs.
std::vector<DisplayMonitor> ListMonitors(const RandrLayout& layout);

}  // namespace vorlix::platform
