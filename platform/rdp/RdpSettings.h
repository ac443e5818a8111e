#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlix::platform {

// What a connection is made with: the control's properties as they are when Connect is called.
// Flags are 0 or not 0, as the control's settings take them.
struct RdpSettings {
  std::u16string server;
  int32_t desktopWidth = 0;
  int32_t desktopHeight = 0;
  int32_t compress = 1;
  int32_t allowBackgroundInput = 0;
  int32_t bitmapPersistence = 1;
  int32_t containerHandledFullScreen = 0;
  int32_t disableRdpdr = 0;
  int32_t fullScreen = 0;
  std::vector<std::u16string> channels;
  // Numbers the control's connections, so that reports of an earlier one can be told apart.
  uint32_t connection = 0;
  // The X window the session's image is shown in (the "OPWindowClass" window); 0 for none.
  unsigned long displayWindow = 0;
};

}  // namespace vorlix::platform
