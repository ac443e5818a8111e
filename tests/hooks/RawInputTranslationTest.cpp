#include "platform/display/HookHost.h"

#include <gtest/gtest.h>

// After gtest, which Xlib's None macro breaks.
#include <X11/extensions/XInput2.h>
#include <X11/keysym.h>

namespace vorlix::platform {
namespace {

struct TranslationCase {
  const char* name;
  RawInputEvent event;
  int kind;
  uintptr_t message;
  uint32_t data;  // mouse: mouseData; keyboard: vkCode
  uint32_t flags = 0;
};

class RawInputTranslation : public testing::TestWithParam<TranslationCase> {};

TEST_P(RawInputTranslation, GivesTheHookMessageAndStruct) {
  const TranslationCase& c = GetParam();
  const LowLevelInput input = TranslateRawInput(c.event);
  ASSERT_EQ(input.kind, c.kind);
  if (c.kind == 0) return;
  EXPECT_EQ(input.message, c.message);
  if (c.kind == WH_MOUSE_LL) {
    EXPECT_EQ(input.mouse.x, c.event.x);
    EXPECT_EQ(input.mouse.y, c.event.y);
    EXPECT_EQ(input.mouse.mouseData, c.data);
    EXPECT_EQ(input.mouse.time, c.event.time);
  } else {
    EXPECT_EQ(input.keyboard.vkCode, c.data);
    EXPECT_EQ(input.keyboard.scanCode, static_cast<uint32_t>(c.event.detail - 8));
    EXPECT_EQ(input.keyboard.flags, c.flags);
    EXPECT_EQ(input.keyboard.time, c.event.time);
  }
}

RawInputEvent Button(int type, int button) { return {type, button, 0, 500, 30, 40}; }
RawInputEvent Key(int type, int keycode, KeySym keysym) { return {type, keycode, keysym, 700}; }

INSTANTIATE_TEST_SUITE_P(
    Events, RawInputTranslation,
    testing::Values(
        TranslationCase{
            "Motion", {XI_RawMotion, 0, 0, 100, -5, 2000}, WH_MOUSE_LL, WM_MOUSEMOVE, 0},
        TranslationCase{"LeftDown", Button(XI_RawButtonPress, 1), WH_MOUSE_LL, WM_LBUTTONDOWN, 0},
        TranslationCase{"LeftUp", Button(XI_RawButtonRelease, 1), WH_MOUSE_LL, WM_LBUTTONUP, 0},
        TranslationCase{"MiddleDown", Button(XI_RawButtonPress, 2), WH_MOUSE_LL, WM_MBUTTONDOWN, 0},
        TranslationCase{"MiddleUp", Button(XI_RawButtonRelease, 2), WH_MOUSE_LL, WM_MBUTTONUP, 0},
        TranslationCase{"RightDown", Button(XI_RawButtonPress, 3), WH_MOUSE_LL, WM_RBUTTONDOWN, 0},
        TranslationCase{"RightUp", Button(XI_RawButtonRelease, 3), WH_MOUSE_LL, WM_RBUTTONUP, 0},
        TranslationCase{"WheelForward", Button(XI_RawButtonPress, 4), WH_MOUSE_LL, WM_MOUSEWHEEL,
                        0x00780000},
        TranslationCase{"WheelBack", Button(XI_RawButtonPress, 5), WH_MOUSE_LL, WM_MOUSEWHEEL,
                        0xFF880000},
        TranslationCase{"WheelRelease", Button(XI_RawButtonRelease, 4), 0, 0, 0},
        TranslationCase{"SideButton", Button(XI_RawButtonPress, 8), 0, 0, 0},
        TranslationCase{"LetterDown", Key(XI_RawKeyPress, 38, XK_a), WH_KEYBOARD_LL, WM_KEYDOWN,
                        'A'},
        TranslationCase{"LetterUp", Key(XI_RawKeyRelease, 38, XK_a), WH_KEYBOARD_LL, WM_KEYUP, 'A',
                        LLKHF_UP},
        TranslationCase{"Digit", Key(XI_RawKeyPress, 10, XK_1), WH_KEYBOARD_LL, WM_KEYDOWN, '1'},
        TranslationCase{"FunctionKey", Key(XI_RawKeyPress, 71, XK_F5), WH_KEYBOARD_LL, WM_KEYDOWN,
                        0x74},
        TranslationCase{"Return", Key(XI_RawKeyPress, 36, XK_Return), WH_KEYBOARD_LL, WM_KEYDOWN,
                        0x0D},
        TranslationCase{"RightShift", Key(XI_RawKeyPress, 62, XK_Shift_R), WH_KEYBOARD_LL,
                        WM_KEYDOWN, 0xA1},
        TranslationCase{"KeyWithoutVirtualKey", Key(XI_RawKeyPress, 34, XK_udiaeresis),
                        WH_KEYBOARD_LL, WM_KEYDOWN, 0},
        TranslationCase{"Touch", {XI_RawTouchBegin, 1, 0, 0, 0, 0}, 0, 0, 0}),
    [](const testing::TestParamInfo<TranslationCase>& param) { return param.param.name; });

}  // namespace
}  // namespace vorlix::platform
