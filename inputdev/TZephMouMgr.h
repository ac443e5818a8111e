#pragma once

#include "inputdev/TZephDevMgr.h"

namespace vorlix {

// The mouse device registry's manager.
using TZephMouMgr = TZephDevMgr<DeviceKind::Mouse>;

}  // namespace vorlix
