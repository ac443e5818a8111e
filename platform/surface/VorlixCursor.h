#pragma once

#include <cstdint>
#include <vector>

#include "platform/surface/Cursor.h"

namespace vorlix::platform {

// A cursor image: 0xAARRGGBB pixels, row by row, and its hot spot.
struct VorlixCursor {
  int width = 0;
  int height = 0;
  int hotX = 0;
  int hotY = 0;
  // Shared cursors (LoadCursorA) live as long as the process.
  bool shared = false;
  std::vector<uint32_t> argb;
};

}  // namespace vorlix::platform
