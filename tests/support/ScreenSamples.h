#pragma once

// Include after gtest: Xlib's macros break it.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

namespace vorlix::test {

// Every `step`-th pixel of a rectangle of the screen of $DISPLAY, row by row; empty when the
// display cannot be opened. Two samples differ when the picture there changed.
inline std::vector<unsigned long> ScreenSamples(int left, int top, int width, int height,
                                                int step) {
  std::vector<unsigned long> pixels;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return pixels;
  XImage* image =
      XGetImage(display, DefaultRootWindow(display), left, top, static_cast<unsigned>(width),
                static_cast<unsigned>(height), AllPlanes, ZPixmap);
  for (int y = 0; y < height; y += step) {
    for (int x = 0; x < width; x += step) pixels.push_back(XGetPixel(image, x, y));
  }
  XDestroyImage(image);
  XCloseDisplay(display);
  return pixels;
}

}  // namespace vorlix::test
