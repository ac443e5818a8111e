#pragma once

#include <linux/input.h>

#include <cstddef>
#include <span>

#include "drivers/evdev/RawRecords.h"

namespace vorlix::evdev {

// Turns a keyboard's input events into keyboard records as a PC keyboard would send them.
class EvdevKeyboardTranslator {
 public:
  // The most records one event yields: the Pause press.
  static constexpr size_t kMaxRecords = 4;
  using Records = std::span<RawKeyboardRecord, kMaxRecords>;

  // Writes the records that `event` completes into `out` and returns how many.
  size_t Feed(const input_event& event, Records out);

 private:
  static size_t WriteKey(const input_event& event, Records out);
  static size_t WritePause(Records out);

  // After SYN_DROPPED the kernel's events up to the next SYN_REPORT are incomplete.
  bool dropping_ = false;
};

}  // namespace vorlix::evdev
