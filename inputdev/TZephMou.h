#pragma once

#include "inputdev/TZephDev.h"

namespace vorlix {

// An open mouse; derives from TZephMouMgr.
using TZephMou = TZephDev<DeviceKind::Mouse>;

}  // namespace vorlix
