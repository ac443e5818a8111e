#pragma once

#include <cstdint>

namespace vorlix::platform {

// Hook kinds.
inline constexpr int WH_CBT = 5;
inline constexpr int WH_KEYBOARD_LL = 13;
inline constexpr int WH_MOUSE_LL = 14;

// Hook codes.
inline constexpr int HC_ACTION = 0;
inline constexpr int HCBT_ACTIVATE = 5;

// The messages a low-level hook gets as wParam.
inline constexpr uintptr_t WM_KEYDOWN = 0x100;
inline constexpr uintptr_t WM_KEYUP = 0x101;
inline constexpr uintptr_t WM_MOUSEMOVE = 0x200;
inline constexpr uintptr_t WM_LBUTTONDOWN = 0x201;
inline constexpr uintptr_t WM_LBUTTONUP = 0x202;
inline constexpr uintptr_t WM_RBUTTONDOWN = 0x204;
inline constexpr uintptr_t WM_RBUTTONUP = 0x205;
inline constexpr uintptr_t WM_MBUTTONDOWN = 0x207;
inline constexpr uintptr_t WM_MBUTTONUP = 0x208;
inline constexpr uintptr_t WM_MOUSEWHEEL = 0x20A;

// One notch of the wheel, in the high word of MSLLHOOKSTRUCT::mouseData.
inline constexpr int WHEEL_DELTA = 120;
// KBDLLHOOKSTRUCT::flags: the key goes up.
inline constexpr uint32_t LLKHF_UP = 0x80;

// (code, wParam, lParam) -> result.
using HOOKPROC = intptr_t (*)(int, uintptr_t, intptr_t);

// What lParam points to for WH_MOUSE_LL; x and y are screen coordinates.
struct MSLLHOOKSTRUCT {
  int32_t x;
  int32_t y;
  uint32_t mouseData;
  uint32_t flags;
  uint32_t time;
  uintptr_t dwExtraInfo;
};

// What lParam points to for WH_KEYBOARD_LL.
struct KBDLLHOOKSTRUCT {
  uint32_t vkCode;
  uint32_t scanCode;
  uint32_t flags;
  uint32_t time;
  uintptr_t dwExtraInfo;
};

// An installed hook; the record stays private to the hook host.
using HHOOK = struct HookRecord*;

}  // namespace vorlix::platform
