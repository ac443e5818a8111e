#pragma once

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <utility>

namespace vorlix::test {

// Drives the X server's XTest devices and reads the pointer, on a connection of its own to
// DISPLAY. Every call has been carried out by the server when it returns.
class XTestDriver {
 public:
  XTestDriver() : display_(XOpenDisplay(nullptr)) {}
  ~XTestDriver() {
    if (display_ != nullptr) XCloseDisplay(display_);
  }
  XTestDriver(const XTestDriver&) = delete;
  XTestDriver& operator=(const XTestDriver&) = delete;

  bool Ok() const { return display_ != nullptr; }

  // Motion of the XTest pointer device, as a mouse makes it: pointer barriers stop it.
  void MoveBy(int dx, int dy) {
    XTestFakeRelativeMotionEvent(display_, dx, dy, CurrentTime);
    XSync(display_, False);
  }
  // A warp, which pointer barriers do not stop.
  void WarpTo(int x, int y) {
    XWarpPointer(display_, None, DefaultRootWindow(display_), 0, 0, 0, 0, x, y);
    XSync(display_, False);
  }
  std::pair<int, int> Position() {
    Window root = None;
    Window child = None;
    int x = 0;
    int y = 0;
    int windowX = 0;
    int windowY = 0;
    unsigned mask = 0;
    XQueryPointer(display_, DefaultRootWindow(display_), &root, &child, &x, &y, &windowX, &windowY,
                  &mask);
    return {x, y};
  }
  void Click(unsigned button) {
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
  }
  void Tap(KeySym keysym) {
    const KeyCode key = XKeysymToKeycode(display_, keysym);
    XTestFakeKeyEvent(display_, key, True, CurrentTime);
    XTestFakeKeyEvent(display_, key, False, CurrentTime);
    XSync(display_, False);
  }
  // What a window manager does when it activates `window`.
  void SetActiveWindow(Window window) {
    XChangeProperty(display_, DefaultRootWindow(display_),
                    XInternAtom(display_, "_NET_ACTIVE_WINDOW", False), XA_WINDOW, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(&window), 1);
    XSync(display_, False);
  }

 private:
  Display* display_;
};

}  // namespace vorlix::test
