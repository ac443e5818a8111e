#include "drivers/evdev/ScanCodeTable.h"

#include <linux/input-event-codes.h>

#include <array>

namespace vorlix::evdev {
namespace {

struct Row {
  uint16_t key;
  uint8_t make;
  bool e0 = false;
};

constexpr bool E0 = true;

constexpr Row kRows[] = {
    {KEY_ESC, 0x01},
    {KEY_1, 0x02},
    {KEY_2, 0x03},
    {KEY_3, 0x04},
    {KEY_4, 0x05},
    {KEY_5, 0x06},
    {KEY_6, 0x07},
    {KEY_7, 0x08},
    {KEY_8, 0x09},
    {KEY_9, 0x0A},
    {KEY_0, 0x0B},
    {KEY_MINUS, 0x0C},
    {KEY_EQUAL, 0x0D},
    {KEY_BACKSPACE, 0x0E},
    {KEY_TAB, 0x0F},
    {KEY_Q, 0x10},
    {KEY_W, 0x11},
    {KEY_E, 0x12},
    {KEY_R, 0x13},
    {KEY_T, 0x14},
    {KEY_Y, 0x15},
    {KEY_U, 0x16},
    {KEY_I, 0x17},
    {KEY_O, 0x18},
    {KEY_P, 0x19},
    {KEY_LEFTBRACE, 0x1A},
    {KEY_RIGHTBRACE, 0x1B},
    {KEY_ENTER, 0x1C},
    {KEY_LEFTCTRL, 0x1D},
    {KEY_A, 0x1E},
    {KEY_S, 0x1F},
    {KEY_D, 0x20},
    {KEY_F, 0x21},
    {KEY_G, 0x22},
    {KEY_H, 0x23},
    {KEY_J, 0x24},
    {KEY_K, 0x25},
    {KEY_L, 0x26},
    {KEY_SEMICOLON, 0x27},
    {KEY_APOSTROPHE, 0x28},
    {KEY_GRAVE, 0x29},
    {KEY_LEFTSHIFT, 0x2A},
    {KEY_BACKSLASH, 0x2B},
    {KEY_Z, 0x2C},
    {KEY_X, 0x2D},
    {KEY_C, 0x2E},
    {KEY_V, 0x2F},
    {KEY_B, 0x30},
    {KEY_N, 0x31},
    {KEY_M, 0x32},
    {KEY_COMMA, 0x33},
    {KEY_DOT, 0x34},
    {KEY_SLASH, 0x35},
    {KEY_RIGHTSHIFT, 0x36},
    {KEY_KPASTERISK, 0x37},
    {KEY_LEFTALT, 0x38},
    {KEY_SPACE, 0x39},
    {KEY_CAPSLOCK, 0x3A},
    {KEY_F1, 0x3B},
    {KEY_F2, 0x3C},
    {KEY_F3, 0x3D},
    {KEY_F4, 0x3E},
    {KEY_F5, 0x3F},
    {KEY_F6, 0x40},
    {KEY_F7, 0x41},
    {KEY_F8, 0x42},
    {KEY_F9, 0x43},
    {KEY_F10, 0x44},
    {KEY_NUMLOCK, 0x45},
    {KEY_SCROLLLOCK, 0x46},
    {KEY_KP7, 0x47},
    {KEY_KP8, 0x48},
    {KEY_KP9, 0x49},
    {KEY_KPMINUS, 0x4A},
    {KEY_KP4, 0x4B},
    {KEY_KP5, 0x4C},
    {KEY_KP6, 0x4D},
    {KEY_KPPLUS, 0x4E},
    {KEY_KP1, 0x4F},
    {KEY_KP2, 0x50},
    {KEY_KP3, 0x51},
    {KEY_KP0, 0x52},
    {KEY_KPDOT, 0x53},
    {KEY_102ND, 0x56},
    {KEY_F11, 0x57},
    {KEY_F12, 0x58},
    {KEY_KPEQUAL, 0x59},
    {KEY_F13, 0x64},
    {KEY_F14, 0x65},
    {KEY_F15, 0x66},
    {KEY_F16, 0x67},
    {KEY_F17, 0x68},
    {KEY_F18, 0x69},
    {KEY_F19, 0x6A},
    {KEY_F20, 0x6B},
    {KEY_F21, 0x6C},
    {KEY_F22, 0x6D},
    {KEY_F23, 0x6E},
    {KEY_F24, 0x76},
    {KEY_KATAKANAHIRAGANA, 0x70},
    {KEY_RO, 0x73},
    {KEY_HENKAN, 0x79},
    {KEY_MUHENKAN, 0x7B},
    {KEY_YEN, 0x7D},
    {KEY_KPCOMMA, 0x7E},

    {KEY_KPENTER, 0x1C, E0},
    {KEY_RIGHTCTRL, 0x1D, E0},
    {KEY_KPSLASH, 0x35, E0},
    {KEY_SYSRQ, 0x37, E0},
    {KEY_RIGHTALT, 0x38, E0},
    {KEY_HOME, 0x47, E0},
    {KEY_UP, 0x48, E0},
    {KEY_PAGEUP, 0x49, E0},
    {KEY_LEFT, 0x4B, E0},
    {KEY_RIGHT, 0x4D, E0},
    {KEY_END, 0x4F, E0},
    {KEY_DOWN, 0x50, E0},
    {KEY_PAGEDOWN, 0x51, E0},
    {KEY_INSERT, 0x52, E0},
    {KEY_DELETE, 0x53, E0},
    {KEY_LEFTMETA, 0x5B, E0},
    {KEY_RIGHTMETA, 0x5C, E0},
    {KEY_COMPOSE, 0x5D, E0},
    {KEY_POWER, 0x5E, E0},
    {KEY_SLEEP, 0x5F, E0},
    {KEY_WAKEUP, 0x63, E0},
    {KEY_PREVIOUSSONG, 0x10, E0},
    {KEY_NEXTSONG, 0x19, E0},
    {KEY_MUTE, 0x20, E0},
    {KEY_CALC, 0x21, E0},
    {KEY_PLAYPAUSE, 0x22, E0},
    {KEY_STOPCD, 0x24, E0},
    {KEY_VOLUMEDOWN, 0x2E, E0},
    {KEY_VOLUMEUP, 0x30, E0},
    {KEY_HOMEPAGE, 0x32, E0},
    {KEY_SEARCH, 0x65, E0},
    {KEY_BOOKMARKS, 0x66, E0},
    {KEY_REFRESH, 0x67, E0},
    {KEY_STOP, 0x68, E0},
    {KEY_FORWARD, 0x69, E0},
    {KEY_BACK, 0x6A, E0},
    {KEY_COMPUTER, 0x6B, E0},
    {KEY_MAIL, 0x6C, E0},
    {KEY_MEDIA, 0x6D, E0},
};

// Indexed by key code; make code 0 marks a key without a scan code.
constexpr auto kByKey = [] {
  std::array<ScanCode, 256> table{};
  for (const Row& row : kRows) table[row.key] = {row.make, row.e0};
  return table;
}();

}  // namespace

std::optional<ScanCode> ScanCodeForKey(uint16_t linuxKey) {
  if (linuxKey >= kByKey.size() || kByKey[linuxKey].make == 0) return std::nullopt;
  return kByKey[linuxKey];
}

}  // namespace vorlix::evdev
