#pragma once

#include <cstdint>

#include "platform/surface/Surface.h"

// Cursors of this platform: a 32-bit image with alpha and a hot spot. Each thread has a current
// cursor, the shape its windows ask for (SetCursor, GetCursor), as on the original platform.
namespace vorlix::platform {

struct VorlixCursor;
using HCURSOR = VorlixCursor*;

// GetSystemMetrics indexes: the size of the platform's cursor images.
inline constexpr int SM_CXCURSOR = 13;
inline constexpr int SM_CYCURSOR = 14;

// MAKEINTRESOURCE(32512)
inline const char* const IDC_ARROW = reinterpret_cast<const char*>(32512);

extern "C" {

// user32.dll

// A cursor from width x height pixels 0xAARRGGBB, row by row; null for bad sizes.
HCURSOR CreateArgbCursor(int width, int height, int hotX, int hotY, const uint32_t* argb);
// The shared arrow for IDC_ARROW; null for any other name. Shared cursors are never freed.
HCURSOR LoadCursorA(void* instance, const char* name);
// Makes `cursor` (null: none) the calling thread's current cursor; the previous one.
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR cursor);
// SM_CXCURSOR and SM_CYCURSOR: 32; 0 for any other index.
int GetSystemMetrics(int index);
}

}  // namespace vorlix::platform
