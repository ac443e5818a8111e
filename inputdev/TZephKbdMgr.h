#pragma once

#include "inputdev/TZephDevMgr.h"

namespace vorlix {

// The keyboard device registry's manager.
using TZephKbdMgr = TZephDevMgr<DeviceKind::Keyboard>;

}  // namespace vorlix
