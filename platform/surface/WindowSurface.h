#pragma once

#include <X11/Xlib.h>

#include <memory>
#include <mutex>

#include "platform/surface/PixelSurface.h"
#include "platform/surface/VorlixSurface.h"

namespace vorlix::platform {

// An X window drawn on through a display connection of its own, so that any thread can draw
// without touching the connections of the toolkit or of other surfaces.
class WindowSurface final : public VorlixSurface {
 public:
  // Null when the window cannot be drawn on (see GetDC).
  static std::unique_ptr<WindowSurface> Open(HWND window);
  ~WindowSurface() override;
  WindowSurface(const WindowSurface&) = delete;
  WindowSurface& operator=(const WindowSurface&) = delete;

  RECT Bounds() const override;
  HWND Window() const override { return window_; }
  // Puts the block `from` of `source` at (x, y) of the window; false when X refused it.
  bool Put(const PixelSurface& source, const RECT& from, int x, int y);

 private:
  WindowSurface(Display* display, HWND window, int depth);

  Display* display_;
  HWND window_;
  int depth_;
  GC gc_;
  mutable std::mutex lock_;
};

}  // namespace vorlix::platform
