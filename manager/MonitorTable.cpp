#include "manager/MonitorTable.h"

namespace vorlix {

namespace {

using platform::DisplayMonitor;
using platform::Rect;

constexpr const char* kVirtualName = "Virtual0";
constexpr Rect kVirtualRect{32, 32, 832, 632};
constexpr std::string_view kDevicePrefix = "\\\\.\\";

bool WithinX(int32_t x, const Rect& p) { return p.left <= x && x < p.right; }
bool WithinY(int32_t y, const Rect& p) { return p.top <= y && y < p.bottom; }

std::string DeviceNameOf(const std::string& name) {
  std::string shown = name.starts_with(kDevicePrefix) ? name.substr(kDevicePrefix.size()) : name;
  return shown.substr(0, TMonitorInfo::kDeviceNameSize - 1);
}

// Whether the monitor becomes a workplace; records what the pass learns from it.
bool TakesWorkplace(const DisplayMonitor& m, MonitorScan& scan) {
  if (!m.deviceQueried) return true;
  if (m.deviceState & platform::DISPLAY_DEVICE_MIRRORING_DRIVER) return false;
  const bool primary = (m.rect.left == 0 && m.rect.top == 0) ||
                       (m.deviceState & platform::DISPLAY_DEVICE_PRIMARY_DEVICE);
  if (primary) {
    scan.PrimaryRect = m.rect;
    return false;
  }
  if (!(m.deviceState & platform::DISPLAY_DEVICE_ATTACHED_TO_DESKTOP)) {
    ++scan.DetachedCount;
    return false;
  }
  scan.SecondaryRects.push_back(m.rect);
  return true;
}

TMonitorInfo Workplace(const Rect& rect, const std::string& name, size_t number) {
  TMonitorInfo info;
  info.MonitorRect = rect;
  info.DeviceName = DeviceNameOf(name);
  info.Symbol = WorkplaceSymbol(number);
  return info;
}

}  // namespace

char WorkplaceSymbol(size_t number) {
  return static_cast<char>(number < 10 ? '0' + number : 'A' + (number - 10));
}

uint32_t ComputeSides(const std::vector<Rect>& secondary, const Rect& p) {
  uint32_t sides = 0;
  for (const Rect& r : secondary) {
    const bool acrossX = WithinX(r.left, p) || WithinX(r.right, p);
    const bool acrossY = WithinY(r.top, p) || WithinY(r.bottom, p);
    if (r.top < p.top && acrossX) sides |= 2;
    if (r.top >= p.bottom && acrossX) sides |= 8;
    if (r.left >= p.right && acrossY) sides |= 4;
    if (r.left < p.left && acrossY) sides |= 1;
  }
  return sides;
}

MonitorScan EnumerateMonitors(const std::vector<DisplayMonitor>& monitors, bool debugMonitors,
                              std::vector<TMonitorInfo>& out) {
  MonitorScan scan;
  out.clear();
  for (const DisplayMonitor& m : monitors) {
    if (!TakesWorkplace(m, scan)) continue;
    TMonitorInfo info = Workplace(m.rect, m.deviceName, out.size());
    if (m.systemPrimary) info.MonitorFlags |= 1;
    out.push_back(std::move(info));
  }
  if (debugMonitors) out.push_back(Workplace(kVirtualRect, kVirtualName, out.size()));
  scan.Sides = ComputeSides(scan.SecondaryRects, scan.PrimaryRect);
  return scan;
}

int FindWorkplace(const std::vector<TMonitorInfo>& monitors, const std::string& name) {
  if (name.empty()) return -1;
  for (size_t i = 0; i < monitors.size(); ++i) {
    if (monitors[i].DeviceName == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace vorlix
