#pragma once

#include <cstdint>

#include "platform/display/HookTypes.h"

namespace vorlix::platform {

// Global hooks on the X desktop. The host watches the desktop on an X connection of its own
// (DISPLAY), opened with the first hook and closed with the last unhook:
// - WH_MOUSE_LL and WH_KEYBOARD_LL get (HC_ACTION, WM_* message, address of an MSLLHOOKSTRUCT or
//   KBDLLHOOKSTRUCT) for every XInput2 raw event of any pointer or keyboard, from real and
//   XTest devices alike;
// - WH_CBT gets (HCBT_ACTIVATE, window id, 0) whenever the root window's _NET_ACTIVE_WINDOW
//   names a window.
// The host only watches: it cannot hold input back, so what a procedure returns is not used.
//
// Thread: every call comes from one thread that runs a Qt event loop (the GUI thread); the
// procedures are called on that thread, from its event loop, newest hook first.

// Installs `proc` as a hook of `kind` for the whole desktop; `module` and `threadId` are not
// used. Null for an unknown kind, a null proc, or when no X display with XInput 2 can be
// opened for the first hook.
HHOOK SetWindowsHookEx(int kind, HOOKPROC proc, void* module, uint32_t threadId);

// Removes a hook; false when `hook` is not installed.
bool UnhookWindowsHookEx(HHOOK hook);

// Called by a hook procedure to pass the event on to the next older hook of its kind; returns
// that hook's result, or 0 when there is none or when no procedure is running. As on the
// original platform since NT, `hook` is not used: the chain position is that of the procedure
// that is running.
intptr_t CallNextHookEx(HHOOK hook, int code, uintptr_t wParam, intptr_t lParam);

// One XInput2 raw event as the host reads it.
struct RawInputEvent {
  int type = 0;         // XI_RawMotion, XI_RawButtonPress/Release, XI_RawKeyPress/Release
  int detail = 0;       // button number or key code
  uint64_t keysym = 0;  // key events: the key's symbol in group 0, level 0
  uint32_t time = 0;    // server time in ms
  int32_t x = 0;        // mouse events: the pointer's position on the screen
  int32_t y = 0;
};

// What a low-level hook gets for one raw event.
struct LowLevelInput {
  int kind = 0;  // WH_MOUSE_LL or WH_KEYBOARD_LL; 0: no hook gets this event
  uintptr_t message = 0;
  MSLLHOOKSTRUCT mouse{};
  KBDLLHOOKSTRUCT keyboard{};
};

// Translates a raw event. Buttons 1, 2, 3 are left, middle, right; 4 and 5 are the wheel
// forward and back (presses only); other buttons reach no hook. vkCode comes from the keysym
// (0 for keys without a virtual-key code here), scanCode is the evdev code (key code - 8).
LowLevelInput TranslateRawInput(const RawInputEvent& event);

}  // namespace vorlix::platform
