#pragma once

#include "platform/surface/Surface.h"

namespace vorlix::platform {

// What every device context is: an area that can be drawn on.
struct VorlixSurface {
  virtual ~VorlixSurface() = default;
  // The drawable area, from (0, 0); empty when it cannot be told.
  virtual RECT Bounds() const = 0;
  virtual HWND Window() const { return 0; }
};

}  // namespace vorlix::platform
