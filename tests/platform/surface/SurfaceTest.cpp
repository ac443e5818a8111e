// Before Xlib, whose macros break it.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <thread>
#include <vector>

#include "platform/surface/Cursor.h"
#include "platform/surface/Surface.h"
#include "tests/support/XServer.h"

namespace vorlix::platform {
namespace {

// Pixels of one surface, each its own number so that a copy shows where every pixel came from.
struct Pixels {
  Pixels(int w, int h, uint32_t first) : width(w), height(h), data(w * h) {
    for (size_t i = 0; i < data.size(); ++i) data[i] = first + static_cast<uint32_t>(i);
    dc = CreatePixelSurface(w, h, w * 4, data.data());
  }
  ~Pixels() { DeleteDC(dc); }
  uint32_t At(int x, int y) const { return data[y * width + x]; }

  int width;
  int height;
  std::vector<uint32_t> data;
  HDC dc;
};

TEST(PixelSurfaceTest, CopiesAreClippedToBothSurfaces) {
  const struct {
    const char* name;
    int x, y, w, h, xSrc, ySrc;
  } cases[] = {
      {"inside", 1, 1, 2, 2, 0, 0},
      {"over the right and bottom edge", 2, 1, 5, 5, 0, 0},
      {"from left of the source", 0, 0, 3, 3, -2, -1},
      {"to left of the destination", -1, -2, 3, 3, 0, 0},
      {"wholly outside", 10, 10, 2, 2, 0, 0},
      {"empty", 0, 0, 0, 3, 0, 0},
  };
  for (const auto& c : cases) {
    Pixels to(4, 3, 1000);
    const Pixels from(3, 3, 1);
    ASSERT_TRUE(BitBlt(to.dc, c.x, c.y, c.w, c.h, from.dc, c.xSrc, c.ySrc, SRCCOPY)) << c.name;
    for (int y = 0; y < to.height; ++y) {
      for (int x = 0; x < to.width; ++x) {
        const int sx = x - c.x + c.xSrc, sy = y - c.y + c.ySrc;
        const bool copied = x >= c.x && x < c.x + c.w && y >= c.y && y < c.y + c.h && sx >= 0 &&
                            sx < from.width && sy >= 0 && sy < from.height;
        EXPECT_EQ(to.At(x, y), copied ? from.At(sx, sy) : 1000u + y * 4 + x)
            << c.name << " at " << x << "," << y;
      }
    }
  }
}

TEST(PixelSurfaceTest, RefusesWhatItCannotDo) {
  Pixels to(4, 3, 0);
  const Pixels from(3, 3, 1);
  EXPECT_FALSE(BitBlt(to.dc, 0, 0, 1, 1, from.dc, 0, 0, 0x00EE0086)) << "only SRCCOPY";
  EXPECT_FALSE(BitBlt(to.dc, 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
  uint32_t pixel = 0;
  EXPECT_EQ(CreatePixelSurface(2, 1, 4, &pixel), nullptr) << "stride below the width";
  EXPECT_EQ(CreatePixelSurface(0, 1, 4, &pixel), nullptr);
  RECT box{};
  EXPECT_EQ(GetClipBox(to.dc, &box), kSimpleRegion);
  EXPECT_EQ(box.right, 4);
  EXPECT_EQ(box.bottom, 3);
  EXPECT_EQ(WindowFromDC(to.dc), 0u);
  EXPECT_EQ(GetDC(0), nullptr);
}

TEST(CursorTest, EachThreadHasItsOwnCurrentCursor) {
  const uint32_t argb[4] = {0xFF000000, 0xFFFFFFFF, 0, 0x80FF0000};
  const HCURSOR mine = CreateArgbCursor(2, 2, 1, 1, argb);
  ASSERT_NE(mine, nullptr);
  EXPECT_EQ(SetCursor(mine), nullptr);
  HCURSOR seenElsewhere = mine;
  std::thread([&] { seenElsewhere = GetCursor(); }).join();
  EXPECT_EQ(seenElsewhere, nullptr);
  EXPECT_EQ(GetCursor(), mine);

  const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(SetCursor(arrow), mine);
  EXPECT_TRUE(DestroyCursor(arrow));
  EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), arrow) << "the shared arrow stays";
  EXPECT_TRUE(DestroyCursor(mine));
  EXPECT_EQ(LoadCursorA(nullptr, "hand"), nullptr);
  EXPECT_EQ(CreateArgbCursor(0, 2, 0, 0, argb), nullptr);
  EXPECT_EQ(CreateArgbCursor(257, 2, 0, 0, argb), nullptr);
  SetCursor(nullptr);
}

class WindowSurfaceTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new test::XServer("640x480+0+0*"); }
  static void TearDownTestSuite() { delete server_; }

  void SetUp() override {
    ASSERT_TRUE(server_->Ok()) << server_->Error();
    server_->Use();
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    window_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 64, 48, 0, 0, 0);
    XMapWindow(display_, window_);
    XSync(display_, False);
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
  }

  uint32_t PixelOnScreen(int x, int y) {
    XImage* image = XGetImage(display_, window_, x, y, 1, 1, AllPlanes, ZPixmap);
    const uint32_t pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0)) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
  }

  static test::XServer* server_;
  Display* display_ = nullptr;
  Window window_ = 0;
};

test::XServer* WindowSurfaceTest::server_ = nullptr;

TEST_F(WindowSurfaceTest, PixelsReachTheWindowAtTheirPlace) {
  const HDC dc = GetDC(window_);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(WindowFromDC(dc), window_);
  RECT box{};
  EXPECT_EQ(GetClipBox(dc, &box), kSimpleRegion);
  EXPECT_EQ(box.right, 64);
  EXPECT_EQ(box.bottom, 48);

  Pixels from(8, 8, 0x102030);
  ASSERT_TRUE(BitBlt(dc, 10, 20, 4, 4, from.dc, 2, 3, SRCCOPY));
  XSync(display_, False);
  EXPECT_EQ(PixelOnScreen(10, 20), from.At(2, 3));
  EXPECT_EQ(PixelOnScreen(13, 23), from.At(5, 6));
  EXPECT_EQ(PixelOnScreen(14, 20), 0u) << "nothing beyond the copy";
  EXPECT_EQ(ReleaseDC(window_ + 1, dc), 0) << "not that window's";
  EXPECT_EQ(ReleaseDC(window_, dc), 1);
}

TEST_F(WindowSurfaceTest, AWindowThatWentAwayFailsQuietly) {
  EXPECT_EQ(GetDC(window_ + 12345), nullptr);
  const HDC dc = GetDC(window_);
  ASSERT_NE(dc, nullptr);
  XDestroyWindow(display_, window_);
  XSync(display_, False);
  Pixels from(8, 8, 1);
  BitBlt(dc, 0, 0, 8, 8, from.dc, 0, 0, SRCCOPY);
  RECT box{1, 1, 1, 1};
  EXPECT_EQ(GetClipBox(dc, &box), kNullRegion);
  EXPECT_EQ(ReleaseDC(window_, dc), 1) << "and the process is still here";
}

}  // namespace
}  // namespace vorlix::platform
