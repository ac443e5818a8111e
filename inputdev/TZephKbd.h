#pragma once

#include "inputdev/TZephDev.h"

namespace vorlix {

// An open keyboard; derives from TZephKbdMgr.
using TZephKbd = TZephDev<DeviceKind::Keyboard>;

}  // namespace vorlix
