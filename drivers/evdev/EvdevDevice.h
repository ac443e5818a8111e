#pragma once

#include <linux/input.h>
#include <sys/types.h>

#include <span>
#include <string>

#include "drivers/evdev/EvdevDeviceKind.h"

struct libevdev;

namespace vorlix::evdev {

// Reads the input events waiting on `fd` into `out` without blocking; returns how many, 0 when
// none are waiting, or -errno.
ssize_t ReadInputEvents(int fd, std::span<input_event> out);

// One /dev/input/event* node, opened without blocking and described through libevdev.
class EvdevDevice {
 public:
  EvdevDevice() = default;
  EvdevDevice(const EvdevDevice&) = delete;
  EvdevDevice& operator=(const EvdevDevice&) = delete;
  ~EvdevDevice();

  // 0 or an errno value.
  int Open(const std::string& path);
  void Close();

  // While grabbed, no one else (the local desktop included) sees the device's events.
  int SetGrabbed(bool grabbed);

  int Fd() const { return fd_; }
  const std::string& Name() const { return name_; }
  // Where the device hangs (bus, port, interface) and its serial number; either may be empty.
  const std::string& Phys() const { return phys_; }
  const std::string& Uniq() const { return uniq_; }
  const EvdevCapabilities& Capabilities() const { return caps_; }

 private:
  void Describe();

  int fd_ = -1;
  libevdev* dev_ = nullptr;
  std::string name_;
  std::string phys_;
  std::string uniq_;
  EvdevCapabilities caps_;
};

}  // namespace vorlix::evdev
