#pragma once

#include <linux/input.h>

#include <cstdint>

#include "drivers/evdev/RawRecords.h"

namespace vorlix::evdev {

// Gathers a mouse's input events into one mouse record per report (up to SYN_REPORT).
//
// The wheel delta is 120 per notch. A device that sends REL_WHEEL_HI_RES already counts in
// 1/120 notches and sends REL_WHEEL besides; once it has sent a high-resolution event, its
// REL_WHEEL events are ignored so that a notch is not counted twice.
class EvdevMouseTranslator {
 public:
  // Writes the record of a finished report into `out` and returns true; false while a report
  // is under way or when it had neither motion, button nor wheel.
  bool Feed(const input_event& event, RawMouseRecord& out);

 private:
  void FeedRelative(const input_event& event);
  void FeedButton(const input_event& event);
  bool FinishReport(RawMouseRecord& out);
  void Reset();

  int32_t dx_ = 0;
  int32_t dy_ = 0;
  int32_t wheelNotches_ = 0;
  int32_t wheelHiRes_ = 0;
  uint16_t buttonFlags_ = 0;
  bool sendsHiResWheel_ = false;
  // After SYN_DROPPED the kernel's events up to the next SYN_REPORT are incomplete.
  bool dropping_ = false;
};

}  // namespace vorlix::evdev
