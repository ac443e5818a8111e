#include "platform/display/ClipCursor.h"

#include <X11/Xlib.h>

#include <optional>

#include "platform/display/PointerBarriers.h"

namespace vorlix::platform {
namespace {

constexpr uint32_t kAllEdges = kLeftEdge | kTopEdge | kRightEdge | kBottomEdge;

bool Covers(const Rect& rect, const Rect& screen) {
  return rect.left <= screen.left && rect.top <= screen.top && rect.right >= screen.right &&
         rect.bottom >= screen.bottom;
}

// The root window follows the screen size that XRandR sets; DisplayWidth() would not.
bool ScreenRect(Rect& out) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  Window root = None;
  int x = 0;
  int y = 0;
  unsigned width = 0;
  unsigned height = 0;
  unsigned border = 0;
  unsigned depth = 0;
  XGetGeometry(display, DefaultRootWindow(display), &root, &x, &y, &width, &height, &border,
               &depth);
  XCloseDisplay(display);
  out = {0, 0, static_cast<int32_t>(width), static_cast<int32_t>(height)};
  return true;
}

PointerBarriers clipBarriers;
std::optional<Rect> clipRect;  // none: the pointer is free

}  // namespace

bool GetClipCursor(Rect& out) {
  if (clipRect) {
    out = *clipRect;
    return true;
  }
  return ScreenRect(out);
}

bool ClipCursor(const Rect* rect) {
  Rect screen;
  if (!ScreenRect(screen)) return false;
  if (rect == nullptr || Covers(*rect, screen)) {
    clipBarriers.Lower();
    clipRect.reset();
    return true;
  }
  if (!clipBarriers.Raise(kAllEdges, *rect)) return false;
  clipRect = *rect;
  return true;
}

}  // namespace vorlix::platform
