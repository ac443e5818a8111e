#pragma once

#include <string>

#include "drivers/InterfaceRegistry.h"

namespace vorlix::drivers {

// The hub name of one half (keyboard or mouse) of an event device:
//   "evdev-" + phys + "-" + uniq (the empty ones and their dash left out; the node's file name,
//   say "event3", when both are empty), every character outside [A-Za-z0-9_.-] turned into '_',
//   cut to leave room for the kind, then ".kbd" or ".mouse".
// phys names the port the device hangs on and uniq its serial number, so a device plugged into
// the same port again, or found again by a restarted service, gets the same name and with it the
// same device path. A device moved to another port is a new device. The result is at most 64
// characters long.
std::string EvdevDeviceName(const std::string& phys, const std::string& uniq,
                            const std::string& node, InterfaceRegistry::Kind kind);

}  // namespace vorlix::drivers
