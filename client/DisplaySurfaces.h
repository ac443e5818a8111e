#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/surface/Surface.h"

namespace vorlix {

// The control's display window and the surfaces the software cursor draws with, held for the
// whole process while a session's display is attached: displayWindow, windowDC (its surface),
// cursorDC (a pixel surface of the system cursor's size) and cursorBitmap (its pixels).
class DisplaySurfaces {
 public:
  static DisplaySurfaces& Instance();

  // Takes the surfaces of `window` (0: none found); true when all of them exist. Does nothing
  // and answers true when a window is attached already.
  bool Attach(platform::HWND window);
  bool Attached() const { return displayWindow != 0; }
  // Releases whatever exists; safe when nothing is attached.
  void Release();

  platform::HWND displayWindow = 0;
  platform::HDC windowDC = nullptr;
  platform::HDC cursorDC = nullptr;
  std::vector<uint32_t> cursorBitmap;
};

}  // namespace vorlix
