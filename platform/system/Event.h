#pragma once

#include <cstdint>
#include <span>

#include "platform/system/Handle.h"

namespace vorlix::platform {

// A waitable event, manual- or auto-reset, on an eventfd. Set, Reset and waits may be called from
// any thread. The descriptor can be handed to another process (over a Unix socket), which signals
// the event by writing an 8-byte count to it, exactly as Set does.
class Event {
 public:
  enum class Reset { Manual, Auto };

  // Creates the event; IsValid() tells whether that worked.
  explicit Event(Reset reset = Reset::Manual, bool initiallySet = false);
  // Takes over an eventfd received from elsewhere.
  Event(Handle fd, Reset reset);

  bool IsValid() const { return fd_.IsValid(); }
  int Fd() const { return fd_.Get(); }
  bool IsAutoReset() const { return reset_ == Reset::Auto; }

  void Set() const;
  void ResetEvent() const;
  // Tests the state without waiting; an auto-reset event that is found set is reset by the test.
  bool IsSet() const;

 private:
  Handle fd_;
  Reset reset_;
};

// Result of WaitAny: the index of the event that ended the wait, or one of these.
inline constexpr int kWaitTimeout = -1;
inline constexpr int kWaitFailed = -2;
inline constexpr uint32_t kInfinite = 0xFFFFFFFF;

// Waits until one of the events is set, at most timeoutMs (kInfinite: no limit). Returns the
// lowest index of a set event (an auto-reset one is reset by the wait), kWaitTimeout when the time
// ran out, kWaitFailed when the wait itself failed (an invalid event among them, for example).
int WaitAny(std::span<const Event* const> events, uint32_t timeoutMs);

}  // namespace vorlix::platform
