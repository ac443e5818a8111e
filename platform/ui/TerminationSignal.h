#pragma once

class QWidget;

namespace vorlix::platform {

// SIGTERM and SIGINT close `window` the way the operator would (its close query included) and
// end the event loop once it agreed, so that a stopped program still cleans up. Call once, on
// the GUI thread, after the application object exists.
void CloseOnTerminationSignal(QWidget* window);

}  // namespace vorlix::platform
