#include "drivers/evdev/ScanCodeTable.h"

#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

namespace vorlix::evdev {
namespace {

struct KeyCase {
  const char* name;
  uint16_t key;
  uint8_t make;
  bool e0;
};

class ScanCodeTableTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(ScanCodeTableTest, GivesTheSetOneMakeCode) {
  const auto scan = ScanCodeForKey(GetParam().key);
  ASSERT_TRUE(scan.has_value());
  EXPECT_EQ(scan->make, GetParam().make);
  EXPECT_EQ(scan->e0, GetParam().e0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ScanCodeTableTest,
    ::testing::Values(
        KeyCase{"Z", KEY_Z, 0x2C, false}, KeyCase{"Grave", KEY_GRAVE, 0x29, false},
        KeyCase{"Iso102nd", KEY_102ND, 0x56, false}, KeyCase{"F11", KEY_F11, 0x57, false},
        KeyCase{"F12", KEY_F12, 0x58, false}, KeyCase{"LeftCtrl", KEY_LEFTCTRL, 0x1D, false},
        KeyCase{"RightCtrl", KEY_RIGHTCTRL, 0x1D, true},
        KeyCase{"LeftAlt", KEY_LEFTALT, 0x38, false}, KeyCase{"RightAlt", KEY_RIGHTALT, 0x38, true},
        KeyCase{"LeftWindows", KEY_LEFTMETA, 0x5B, true},
        KeyCase{"RightWindows", KEY_RIGHTMETA, 0x5C, true},
        KeyCase{"Menu", KEY_COMPOSE, 0x5D, true}, KeyCase{"Enter", KEY_ENTER, 0x1C, false},
        KeyCase{"KeypadEnter", KEY_KPENTER, 0x1C, true}, KeyCase{"Slash", KEY_SLASH, 0x35, false},
        KeyCase{"KeypadSlash", KEY_KPSLASH, 0x35, true},
        KeyCase{"KeypadAsterisk", KEY_KPASTERISK, 0x37, false},
        KeyCase{"PrintScreen", KEY_SYSRQ, 0x37, true}, KeyCase{"Keypad7", KEY_KP7, 0x47, false},
        KeyCase{"Home", KEY_HOME, 0x47, true}, KeyCase{"Delete", KEY_DELETE, 0x53, true},
        KeyCase{"KeypadDot", KEY_KPDOT, 0x53, false}, KeyCase{"NumLock", KEY_NUMLOCK, 0x45, false},
        KeyCase{"ScrollLock", KEY_SCROLLLOCK, 0x46, false},
        KeyCase{"CapsLock", KEY_CAPSLOCK, 0x3A, false}),
    [](const auto& test) { return test.param.name; });

TEST(ScanCodeTableTest, KeysWithoutAScanCodeHaveNone) {
  for (int key : {KEY_RESERVED, KEY_PAUSE, KEY_PROG1, BTN_LEFT, KEY_MAX, 0xFFFF})
    EXPECT_FALSE(ScanCodeForKey(static_cast<uint16_t>(key)).has_value()) << key;
}

}  // namespace
}  // namespace vorlix::evdev
