#pragma once

#include <cstdint>
#include <vector>

#include "platform/display/Rect.h"

struct _XDisplay;

namespace vorlix::platform {

// Edges of a rectangle, as bits of a set.
inline constexpr uint32_t kLeftEdge = 1;
inline constexpr uint32_t kTopEdge = 2;
inline constexpr uint32_t kRightEdge = 4;
inline constexpr uint32_t kBottomEdge = 8;

// XFixes pointer barriers along edges of a rectangle that keep the console pointer on its side
// of them: motion outward across such an edge stops at the edge, motion inward passes. Relative
// pointer motion is stopped; warps are not. The barriers belong to an X connection (DISPLAY) that
// the object holds only while they stand, and end with Lower, the next Raise or the object.
// One thread at a time.
class PointerBarriers {
 public:
  PointerBarriers() = default;
  ~PointerBarriers();
  PointerBarriers(const PointerBarriers&) = delete;
  PointerBarriers& operator=(const PointerBarriers&) = delete;

  // Replaces the barriers by barriers along `edges` (k*Edge bits) of `rect`, each spanning that
  // edge, and moves a pointer that is beyond one of them back onto the rectangle's side. They are
  // in force when this returns. False, with nothing changed, when `rect` is empty or there is no
  // X display with XFixes 5.
  bool Raise(uint32_t edges, const Rect& rect);
  // Removes the barriers and closes the connection.
  void Lower();

 private:
  bool Connect();
  void DestroyBarriers();
  void KeepPointerInside(uint32_t edges, const Rect& rect);

  _XDisplay* display_ = nullptr;
  std::vector<unsigned long> barriers_;  // XIDs
};

}  // namespace vorlix::platform
