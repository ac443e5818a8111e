#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "manager/TMonitorInfo.h"
#include "platform/display/Monitors.h"

namespace vorlix {

// What one pass over the monitors found besides the workplaces.
struct MonitorScan {
  platform::Rect PrimaryRect{0, 0, 800, 600};
  std::vector<platform::Rect> SecondaryRects;
  int DetachedCount = 0;
  uint32_t Sides = 0;  // 1 left, 2 above, 4 right, 8 below the primary monitor
};

// Builds the workplace table from the monitors the system reports, in their order: the primary
// monitor (at 0,0 or flagged primary) and mirrors are no workplaces, detached monitors are only
// counted; "DebugMonitors" adds the virtual workplace "Virtual0" at the end.
MonitorScan EnumerateMonitors(const std::vector<platform::DisplayMonitor>& monitors,
                              bool debugMonitors, std::vector<TMonitorInfo>& out);

// The sides of the primary monitor on which workplace monitors border, as the hooks library
// takes them. Only the two corner coordinates of a monitor along the edge are tested.
uint32_t ComputeSides(const std::vector<platform::Rect>& secondary, const platform::Rect& primary);

// '0'..'9', then 'A', 'B', ... by workplace number.
char WorkplaceSymbol(size_t number);

// The first workplace whose DeviceName is exactly `name`; -1 for none or an empty name.
int FindWorkplace(const std::vector<TMonitorInfo>& monitors, const std::string& name);

}  // namespace vorlix
