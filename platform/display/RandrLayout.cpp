#include "platform/display/RandrLayout.h"

#include <algorithm>

namespace vorlix::platform {
namespace {

bool IsAttached(const DisplayMonitor& monitor) {
  return (monitor.deviceState & DISPLAY_DEVICE_ATTACHED_TO_DESKTOP) != 0;
}

bool IsPrimary(const DisplayMonitor& monitor) {
  return (monitor.deviceState & DISPLAY_DEVICE_PRIMARY_DEVICE) != 0;
}

const RandrLayout::Crtc* FindCrtc(const RandrLayout& layout, uint64_t id) {
  const auto found = std::find_if(layout.crtcs.begin(), layout.crtcs.end(),
                                  [id](const RandrLayout::Crtc& crtc) { return crtc.id == id; });
  return found == layout.crtcs.end() ? nullptr : &*found;
}

DisplayMonitor AttachedMonitor(const RandrLayout::Output& output, const Rect& rect) {
  DisplayMonitor monitor{rect, output.name, output.primary};
  monitor.deviceState = DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
  if (output.primary) monitor.deviceState |= DISPLAY_DEVICE_PRIMARY_DEVICE;
  return monitor;
}

// An output off the desktop has no place on it. It goes right of the screen, never to (0, 0):
// a monitor there counts as the primary one and would take the real primary monitor's role.
DisplayMonitor DetachedMonitor(const RandrLayout::Output& output, int32_t screenWidth) {
  const Rect rect{screenWidth, 0, screenWidth + output.firstModeWidth, output.firstModeHeight};
  return DisplayMonitor{rect, output.name};
}

DisplayMonitor MonitorOf(const RandrLayout& layout, const RandrLayout::Output& output) {
  const RandrLayout::Crtc* crtc = FindCrtc(layout, output.crtc);
  return crtc != nullptr ? AttachedMonitor(output, crtc->rect)
                         : DetachedMonitor(output, layout.screenWidth);
}

// Outputs on one CRTC, or on CRTCs over one area (xrandr --same-as), show the same monitor. One
// of them stands for it: the primary output when it is among them, else the first listed.
bool IsMirror(const std::vector<DisplayMonitor>& monitors, size_t index) {
  const DisplayMonitor& monitor = monitors[index];
  if (!IsAttached(monitor) || IsPrimary(monitor)) return false;
  for (size_t other = 0; other < monitors.size(); ++other) {
    const DisplayMonitor& candidate = monitors[other];
    if (other != index && IsAttached(candidate) && candidate.rect == monitor.rect &&
        (other < index || IsPrimary(candidate))) {
      return true;
    }
  }
  return false;
}

}  // namespace

std::vector<DisplayMonitor> ListMonitors(const RandrLayout& layout) {
  std::vector<DisplayMonitor> monitors;
  for (const RandrLayout::Output& output : layout.outputs) {
    if (output.connected) monitors.push_back(MonitorOf(layout, output));
  }
  for (size_t index = 0; index < monitors.size(); ++index) {
    if (IsMirror(monitors, index)) monitors[index].deviceState |= DISPLAY_DEVICE_MIRRORING_DRIVER;
  }
  return monitors;
}

}  // namespace vorlix::platform
