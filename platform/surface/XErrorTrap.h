#pragma once

#include <X11/Xlib.h>

namespace vorlix::platform {

// Xlib reports errors of every connection to one process-wide handler, whose default ends the
// process. Surfaces register their own connections here: an error on them (a window that went
// away while a copy was under way) fails that call only; errors of other connections still go
// to the handler that was there before.
void TrapErrorsOf(Display* display);
void ReleaseErrorsOf(Display* display);

}  // namespace vorlix::platform
