#include "tools/testserver/ArrowPointer.h"

#include <array>
#include <vector>

namespace vorlix::testserver {

namespace {

constexpr int kSize = 32;
// Both masks' rows are padded to 2 bytes; 32 pixels need none.
constexpr int kAndStride = kSize / 8;
constexpr int kXorStride = kSize * 4;

struct Point {
  double x;
  double y;
};

// The outline of a classic arrow, tip at (0, 0).
constexpr std::array<Point, 7> kArrow = {
    {{0, 0}, {0, 21}, {5, 16}, {9, 25}, {12, 24}, {8, 15}, {15, 15}}};

// Even-odd rule at the pixel's centre.
bool Inside(int x, int y) {
  const Point p{x + 0.5, y + 0.5};
  bool inside = false;
  for (size_t i = 0, j = kArrow.size() - 1; i < kArrow.size(); j = i++) {
    const Point& a = kArrow[i];
    const Point& b = kArrow[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y)) {
      inside = !inside;
    }
  }
  return inside;
}

bool OnEdge(int x, int y) {
  return !Inside(x - 1, y) || !Inside(x + 1, y) || !Inside(x, y - 1) || !Inside(x, y + 1);
}

// White with a black edge, transparent outside; the AND mask also marks the outside, for clients
// that ignore alpha.
uint32_t Pixel(int x, int y) {
  if (!Inside(x, y)) return 0x00000000;
  return OnEdge(x, y) ? 0xFF000000 : 0xFFFFFFFF;
}

}  // namespace

bool SendArrowPointer(rdpContext* context) {
  std::vector<BYTE> xorMask(kXorStride * kSize);
  std::vector<BYTE> andMask(kAndStride * kSize);
  for (int y = 0; y < kSize; ++y) {
    // Masks are bottom-up.
    const int row = kSize - 1 - y;
    for (int x = 0; x < kSize; ++x) {
      const uint32_t argb = Pixel(x, y);
      for (int byte = 0; byte < 4; ++byte) {
        xorMask[row * kXorStride + x * 4 + byte] = static_cast<BYTE>(argb >> (8 * byte));
      }
      if ((argb >> 24) == 0) andMask[row * kAndStride + x / 8] |= static_cast<BYTE>(0x80 >> x % 8);
    }
  }
  POINTER_NEW_UPDATE pointer{};
  pointer.xorBpp = 32;
  POINTER_COLOR_UPDATE& color = pointer.colorPtrAttr;
  color.cacheIndex = 0;
  color.xPos = 0;
  color.yPos = 0;
  color.width = kSize;
  color.height = kSize;
  color.lengthAndMask = static_cast<UINT32>(andMask.size());
  color.lengthXorMask = static_cast<UINT32>(xorMask.size());
  color.andMaskData = andMask.data();
  color.xorMaskData = xorMask.data();
  return context->update->pointer->PointerNew(context, &pointer);
}

}  // namespace vorlix::testserver
