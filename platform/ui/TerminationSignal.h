#pragma once

#include <functional>

namespace vorlix::platform {

// SIGTERM and SIGINT are taken to the GUI thread's event loop, which then asks `mayQuit` (the
// main window's close, with its close query) and ends the loop when it agrees, so that a stopped
// program still cleans up. A signal that comes before the loop runs is served once it does.
// Call once, on the GUI thread, after the application object exists.
void QuitOnTerminationSignal(std::function<bool()> mayQuit);

}  // namespace vorlix::platform
