#include <array>
#include <string_view>

#include "platform/surface/VorlixCursor.h"

namespace vorlix::platform {
namespace {

constexpr int kMaxCursorSide = 256;
constexpr int kSystemCursorSide = 32;

thread_local HCURSOR currentCursor = nullptr;

// The standard arrow, 12 x 19: 'X' black, '.' white, ' ' clear.
constexpr std::array<std::string_view, 19> kArrow = {
    "X           ", "XX          ", "X.X         ", "X..X        ", "X...X       ",
    "X....X      ", "X.....X     ", "X......X    ", "X.......X   ", "X........X  ",
    "X.........X ", "X......XXXXX", "X...X..X    ", "X..XX..X    ", "X.X  X..X   ",
    "XX   X..X   ", "X     X..X  ", "      X..X  ", "       XX   ",
};

VorlixCursor MakeArrow() {
  VorlixCursor arrow{12, 19, 0, 0, true, {}};
  for (const std::string_view row : kArrow) {
    for (const char pixel : row) {
      arrow.argb.push_back(pixel == 'X' ? 0xFF000000 : pixel == '.' ? 0xFFFFFFFF : 0);
    }
  }
  return arrow;
}

}  // namespace

extern "C" {

HCURSOR CreateArgbCursor(int width, int height, int hotX, int hotY, const uint32_t* argb) {
  if (argb == nullptr || width <= 0 || height <= 0 || width > kMaxCursorSide ||
      height > kMaxCursorSide) {
    return nullptr;
  }
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  return new VorlixCursor{width, height, hotX, hotY, false, {argb, argb + count}};
}

HCURSOR LoadCursorA(void*, const char* name) {
  static VorlixCursor arrow = MakeArrow();
  return name == IDC_ARROW ? &arrow : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor) {
  const HCURSOR previous = currentCursor;
  currentCursor = cursor;
  return previous;
}

HCURSOR GetCursor() { return currentCursor; }

int GetSystemMetrics(int index) {
  return index == SM_CXCURSOR || index == SM_CYCURSOR ? kSystemCursorSide : 0;
}

BOOL DestroyCursor(HCURSOR cursor) {
  if (cursor == nullptr) return 0;
  if (cursor->shared) return 1;
  if (cursor == currentCursor) currentCursor = nullptr;
  delete cursor;
  return 1;
}
}
}  // namespace vorlix::platform
