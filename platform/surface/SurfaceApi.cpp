#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/surface/PixelSurface.h"
#include "platform/surface/Surface.h"
#include "platform/surface/WindowSurface.h"

namespace vorlix::platform {
namespace {

// A copy of `width` x `height` from `from` to `to`, cut down to what lies inside both areas.
struct Copy {
  int x, y, width, height, xSrc, ySrc;

  bool ClipTo(const RECT& target, const RECT& source) {
    const int skipX = std::max({0, target.left - x, source.left - xSrc});
    const int skipY = std::max({0, target.top - y, source.top - ySrc});
    x += skipX;
    xSrc += skipX;
    y += skipY;
    ySrc += skipY;
    width = std::min({width - skipX, target.right - x, source.right - xSrc});
    height = std::min({height - skipY, target.bottom - y, source.bottom - ySrc});
    return width > 0 && height > 0;
  }
};

// X clips a window's drawing itself.
constexpr RECT kAnywhere{INT_MIN / 2, INT_MIN / 2, INT_MAX / 2, INT_MAX / 2};

void CopyPixels(const PixelSurface& to, const PixelSurface& from, const Copy& copy) {
  const size_t rowBytes = static_cast<size_t>(copy.width) * 4;
  for (int row = 0; row < copy.height; ++row) {
    std::memmove(to.At(copy.x, copy.y + row), from.At(copy.xSrc, copy.ySrc + row), rowBytes);
  }
}

}  // namespace

extern "C" {

HDC GetDC(HWND window) { return WindowSurface::Open(window).release(); }

int ReleaseDC(HWND window, HDC dc) {
  auto* surface = dynamic_cast<WindowSurface*>(dc);
  if (surface == nullptr || surface->Window() != window) return 0;
  delete surface;
  return 1;
}

HWND WindowFromDC(HDC dc) { return dc != nullptr ? dc->Window() : 0; }

HDC CreatePixelSurface(int width, int height, int stride, void* pixels) {
  if (pixels == nullptr || width <= 0 || height <= 0 || stride / 4 < width) return nullptr;
  return new PixelSurface(width, height, stride, pixels);
}

BOOL DeleteDC(HDC dc) {
  auto* surface = dynamic_cast<PixelSurface*>(dc);
  delete surface;
  return surface != nullptr;
}

BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int xSrc, int ySrc,
            uint32_t rop) {
  const auto* from = dynamic_cast<const PixelSurface*>(src);
  if (dst == nullptr || from == nullptr || rop != SRCCOPY) return 0;
  Copy copy{x, y, width, height, xSrc, ySrc};
  if (auto* window = dynamic_cast<WindowSurface*>(dst)) {
    if (!copy.ClipTo(kAnywhere, from->Bounds())) return 1;
    const RECT block{copy.xSrc, copy.ySrc, copy.xSrc + copy.width, copy.ySrc + copy.height};
    return window->Put(*from, block, copy.x, copy.y);
  }
  const auto& to = static_cast<const PixelSurface&>(*dst);
  if (copy.ClipTo(to.Bounds(), from->Bounds())) CopyPixels(to, *from, copy);
  return 1;
}

int GetClipBox(HDC dc, RECT* rect) {
  if (dc == nullptr || rect == nullptr) return kRegionError;
  *rect = dc->Bounds();
  return rect->right > rect->left && rect->bottom > rect->top ? kSimpleRegion : kNullRegion;
}
}
}  // namespace vorlix::platform
