#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/surface/VorlixSurface.h"

namespace vorlix::platform {

// 32-bit pixels in memory, owned by the creator of the surface.
class PixelSurface final : public VorlixSurface {
 public:
  PixelSurface(int width, int height, int stride, void* pixels)
      : width_(width), height_(height), stride_(stride), pixels_(static_cast<uint8_t*>(pixels)) {}

  RECT Bounds() const override { return {0, 0, width_, height_}; }
  int Stride() const { return stride_; }
  uint8_t* Pixels() const { return pixels_; }
  uint8_t* At(int x, int y) const {
    return pixels_ + static_cast<ptrdiff_t>(y) * stride_ + static_cast<ptrdiff_t>(x) * 4;
  }

 private:
  int width_;
  int height_;
  int stride_;
  uint8_t* pixels_;
};

}  // namespace vorlix::platform
