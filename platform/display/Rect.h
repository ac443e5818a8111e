#pragma once

#include <cstdint>

namespace vorlix::platform {

// A rectangle in virtual-screen coordinates; right and bottom are exclusive.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace vorlix::platform
