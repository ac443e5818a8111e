#include "platform/display/PointerBarriers.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>

#include <algorithm>

namespace vorlix::platform {
namespace {

// Where the barrier of one edge lies and the one direction in which it lets the pointer pass.
struct Segment {
  int x1;
  int y1;
  int x2;
  int y2;
  int passes;
};

Segment EdgeSegment(uint32_t edge, const Rect& r) {
  switch (edge) {
    case kLeftEdge:
      return {r.left, r.top, r.left, r.bottom, BarrierPositiveX};
    case kTopEdge:
      return {r.left, r.top, r.right, r.top, BarrierPositiveY};
    case kRightEdge:
      return {r.right, r.top, r.right, r.bottom, BarrierNegativeX};
    default:
      return {r.left, r.bottom, r.right, r.bottom, BarrierNegativeY};
  }
}

}  // namespace

PointerBarriers::~PointerBarriers() { Lower(); }

bool PointerBarriers::Raise(uint32_t edges, const Rect& rect) {
  if (rect.Width() <= 0 || rect.Height() <= 0 || !Connect()) return false;
  DestroyBarriers();
  const Window root = DefaultRootWindow(display_);
  for (const uint32_t edge : {kLeftEdge, kTopEdge, kRightEdge, kBottomEdge}) {
    if ((edges & edge) == 0) continue;
    const Segment s = EdgeSegment(edge, rect);
    barriers_.push_back(
        XFixesCreatePointerBarrier(display_, root, s.x1, s.y1, s.x2, s.y2, s.passes, 0, nullptr));
  }
  KeepPointerInside(edges, rect);
  XSync(display_, False);
  return true;
}

void PointerBarriers::Lower() {
  if (display_ == nullptr) return;
  // Destroyed one by one, so that they are gone for every client when the close has synced.
  DestroyBarriers();
  XCloseDisplay(display_);
  display_ = nullptr;
}

void PointerBarriers::DestroyBarriers() {
  for (const unsigned long barrier : barriers_) XFixesDestroyPointerBarrier(display_, barrier);
  barriers_.clear();
}

bool PointerBarriers::Connect() {
  if (display_ != nullptr) return true;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return false;
  int eventBase = 0;
  int errorBase = 0;
  int major = 5;
  int minor = 0;
  if (!XFixesQueryExtension(display, &eventBase, &errorBase) ||
      !XFixesQueryVersion(display, &major, &minor) || major < 5) {
    XCloseDisplay(display);
    return false;
  }
  display_ = display;
  return true;
}

// Barriers only stop motion that crosses them; a pointer already beyond one is brought back.
void PointerBarriers::KeepPointerInside(uint32_t edges, const Rect& rect) {
  const Window root = DefaultRootWindow(display_);
  Window pointerRoot = None;
  Window child = None;
  int x = 0;
  int y = 0;
  int windowX = 0;
  int windowY = 0;
  unsigned mask = 0;
  if (!XQueryPointer(display_, root, &pointerRoot, &child, &x, &y, &windowX, &windowY, &mask)) {
    return;
  }
  int insideX = x;
  int insideY = y;
  if (edges & kLeftEdge) insideX = std::max(insideX, rect.left);
  if (edges & kRightEdge) insideX = std::min(insideX, rect.right - 1);
  if (edges & kTopEdge) insideY = std::max(insideY, rect.top);
  if (edges & kBottomEdge) insideY = std::min(insideY, rect.bottom - 1);
  if (insideX != x || insideY != y)
    XWarpPointer(display_, None, root, 0, 0, 0, 0, insideX, insideY);
}

}  // namespace vorlix::platform
