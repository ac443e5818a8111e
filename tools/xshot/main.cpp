// vorlix-xshot OUT.png: writes the whole X screen of DISPLAY (its root window) as a PNG.

#include <QImage>
#include <cstdio>
#include <memory>

// After Qt: Xlib defines macros (Status, None, Bool) that clash with Qt's names.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ImageDestroyer {
  void operator()(XImage* image) const { XDestroyImage(image); }
};

// The pixel layout of a 24-bit TrueColor root window, which is QImage's RGB32 as it stands.
bool IsRgb32(const XImage& image) {
  return image.bits_per_pixel == 32 && image.byte_order == LSBFirst && image.red_mask == 0xff0000 &&
         image.green_mask == 0xff00 && image.blue_mask == 0xff;
}

int Fail(const char* message) {
  std::fprintf(stderr, "vorlix-xshot: %s\n", message);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vorlix-xshot OUT.png\n");
    return 2;
  }
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) return Fail("cannot open the display");
  const int screen = DefaultScreen(display.get());
  const int width = DisplayWidth(display.get(), screen);
  const int height = DisplayHeight(display.get(), screen);
  const std::unique_ptr<XImage, ImageDestroyer> image(XGetImage(
      display.get(), RootWindow(display.get(), screen), 0, 0, width, height, AllPlanes, ZPixmap));
  if (!image) return Fail("cannot read the screen");
  if (!IsRgb32(*image)) return Fail("the screen is not 24-bit TrueColor");
  const QImage shot(reinterpret_cast<const uchar*>(image->data), width, height,
                    image->bytes_per_line, QImage::Format_RGB32);
  if (!shot.save(argv[1], "PNG")) return Fail("cannot write the PNG");
  return 0;
}
