#pragma once

#include <string>

#include "drivers/DeviceHub.h"
#include "drivers/evdev/EvdevKeyboardTranslator.h"
#include "drivers/evdev/EvdevMouseTranslator.h"

namespace vorlix::drivers {

// Moves the input events of one event device, read from a descriptor it does not own, into the
// hub as the records of the device's keyboard half, mouse half, or both. A half with an empty
// name is one the device does not have.
class EvdevPump {
 public:
  EvdevPump(DeviceHub& hub, int fd, std::string keyboardName, std::string mouseName);

  // 0, or the hub's error for the first half it could not plug (the other is unplugged again).
  uint32_t Plug(bool ps2);
  void Unplug();

  // Queues what is waiting on the descriptor. False once the device is gone, a read error or a
  // hang-up with nothing left to read; its halves are unplugged then.
  bool Drain(bool hungUp);

  int Fd() const { return fd_; }
  bool Serves(const std::string& name) const {
    return !name.empty() && (name == keyboardName_ || name == mouseName_);
  }

 private:
  // Reads at most this many events at a time; a full batch means more may be waiting.
  static constexpr size_t kBatch = 64;

  void Translate(const input_event* events, size_t count);

  DeviceHub& hub_;
  int fd_;
  std::string keyboardName_;
  std::string mouseName_;
  evdev::EvdevKeyboardTranslator keyboard_;
  evdev::EvdevMouseTranslator mouse_;
};

}  // namespace vorlix::drivers
