#include "platform/surface/WindowSurface.h"

#include <X11/Xutil.h>

#include "platform/surface/XErrorTrap.h"

namespace vorlix::platform {

namespace {

// Pixel surfaces hold 0x00RRGGBB words: only a true-colour window of that layout takes them as
// they are.
bool TakesPixelsAsTheyAre(const XWindowAttributes& attributes) {
  const Visual* visual = attributes.visual;
  return (attributes.depth == 24 || attributes.depth == 32) && visual != nullptr &&
         visual->c_class == TrueColor && visual->red_mask == 0xFF0000 &&
         visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF;
}

}  // namespace

std::unique_ptr<WindowSurface> WindowSurface::Open(HWND window) {
  if (window == 0) return nullptr;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  TrapErrorsOf(display);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display, window, &attributes) == 0 ||
      !TakesPixelsAsTheyAre(attributes)) {
    ReleaseErrorsOf(display);
    XCloseDisplay(display);
    return nullptr;
  }
  return std::unique_ptr<WindowSurface>(new WindowSurface(display, window, attributes.depth));
}

WindowSurface::WindowSurface(Display* display, HWND window, int depth)
    : display_(display),
      window_(window),
      depth_(depth),
      gc_(XCreateGC(display, window, 0, nullptr)) {}

// Closing the connection frees its GC; errors still on their way are trapped until then.
WindowSurface::~WindowSurface() {
  XCloseDisplay(display_);
  ReleaseErrorsOf(display_);
}

RECT WindowSurface::Bounds() const {
  const std::lock_guard lock(lock_);
  XWindowAttributes attributes{};
  if (XGetWindowAttributes(display_, window_, &attributes) == 0) return {0, 0, 0, 0};
  return {0, 0, attributes.width, attributes.height};
}

bool WindowSurface::Put(const PixelSurface& source, const RECT& from, int x, int y) {
  // An image header over the caller's pixels: nothing is copied or allocated.
  const RECT bounds = source.Bounds();
  XImage image{};
  image.width = bounds.right;
  image.height = bounds.bottom;
  image.format = ZPixmap;
  image.data = reinterpret_cast<char*>(source.Pixels());
  image.byte_order = LSBFirst;
  image.bitmap_unit = 32;
  image.bitmap_bit_order = LSBFirst;
  image.bitmap_pad = 32;
  image.depth = depth_;
  image.bytes_per_line = source.Stride();
  image.bits_per_pixel = 32;
  image.red_mask = 0xFF0000;
  image.green_mask = 0xFF00;
  image.blue_mask = 0xFF;
  const std::lock_guard lock(lock_);
  if (XInitImage(&image) == 0) return false;
  XPutImage(display_, window_, gc_, &image, from.left, from.top, x, y,
            static_cast<unsigned>(from.right - from.left),
            static_cast<unsigned>(from.bottom - from.top));
  XFlush(display_);
  return true;
}

}  // namespace vorlix::platform
