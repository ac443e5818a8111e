#pragma once

#include "platform/display/Rect.h"

namespace vorlix::platform {

// The system's mouse clip rectangle on the X desktop. Call from one thread (the GUI thread).

// The rectangle now in force: the one the last ClipCursor set, else the whole X screen. False
// without an X display.
bool GetClipCursor(Rect& out);

// Confines the console pointer to `rect` (a pointer outside is moved into it); null or a
// rectangle that covers the whole screen sets the pointer free. False without an X display or
// for an empty rectangle; nothing changes then.
bool ClipCursor(const Rect* rect);

}  // namespace vorlix::platform
