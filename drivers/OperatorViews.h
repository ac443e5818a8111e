#pragma once

#include <string>

// The operator's views of `vorlixinput`, built on the system's own device managers and handles.
namespace vorlix {

// `vorlixinput devices`: one tab-separated line per device: kind, id, present (1/0), path.
int RunDevicesView();

// `vorlixinput watch keyboard|mouse ID`: one line per unit as it arrives, until interrupted.
// Exits non-zero with the error number in its message when the open fails.
int RunWatch(const std::string& kind, int id);

}  // namespace vorlix
