#pragma once

#include <cstdint>
#include <string>

#include "platform/display/Rect.h"
#include "platform/system/Handle.h"
#include "platform/system/Process.h"

namespace vorlix {

// One workplace: a monitor other than the primary one, its bound devices and its client.
// The record owns its client's process handle and the manager's two pipe ends.
struct TMonitorInfo {
  static constexpr size_t kDeviceNameSize = 32;  // the name's buffer, terminating zero included

  platform::Rect MonitorRect;
  std::string DeviceName;  // at most kDeviceNameSize - 1 characters
  uint32_t MonitorFlags = 0;
  int32_t KbdId = -1;
  int32_t MouId = -1;
  char Symbol = '0';
  platform::Process Process;
  platform::Handle ReplyPipe;    // the manager's read end of the reply pipe
  platform::Handle CommandPipe;  // the manager's write end of the command pipe
};

}  // namespace vorlix
