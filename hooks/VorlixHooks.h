#pragma once

#include <cstdint>

#include "platform/display/Rect.h"

// The hooks library libvorlixhooks.so, which the manager links and whose hook procedures it
// installs by name: "_TSCBTProc@12" (WH_CBT), "_TSLowLevelMouseProc@12" (WH_MOUSE_LL) and
// "_TSLowLevelKbdProc@12" (WH_KEYBOARD_LL). They pass every event on unchanged through
// CallNextHookEx of the hook host that the loading program links (vorlix_hookhost).

extern "C" {

// Keeps the console pointer off the workplace monitors: XFixes pointer barriers along the
// `sides` edges of the primary monitor's rectangle `rect` (1 left, 2 top, 4 right, 8 bottom),
// each spanning that edge, stop the pointer from leaving it there; a pointer already beyond a
// raised edge is brought back. A call replaces the barriers of the one before; sides 0 removes
// them. The barriers belong to an X connection of the library's own (DISPLAY), which it holds
// while they stand. Without an X display it does nothing.
// Called from one thread at a time.
__attribute__((visibility("default"))) void TSSetClipCur(uint32_t sides,
                                                         const vorlix::platform::Rect* rect);
}
