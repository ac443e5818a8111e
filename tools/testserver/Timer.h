#pragma once

#include <algorithm>
#include <chrono>
#include <optional>

namespace vorlix::testserver {

using Clock = std::chrono::steady_clock;

// A deadline of a connection's loop, once or repeating. A repeating timer that fell behind is due
// once, not once per missed interval.
class Timer {
 public:
  void Once(Clock::time_point at) {
    interval_ = {};
    next_ = at;
  }
  // Due first one interval after `now`; a zero interval is never due.
  void Every(Clock::time_point now, Clock::duration interval) {
    interval_ = interval;
    next_ = interval > Clock::duration::zero() ? std::optional(now + interval) : std::nullopt;
  }

  // True, and rearmed or stopped, when due at `now`.
  bool Due(Clock::time_point now) {
    if (!next_ || now < *next_) return false;
    next_ = interval_ > Clock::duration::zero() ? std::optional(now + interval_) : std::nullopt;
    return true;
  }
  std::optional<Clock::time_point> Next() const { return next_; }

 private:
  Clock::duration interval_{};
  std::optional<Clock::time_point> next_;
};

// The earlier of two deadlines, either of which may be missing.
inline std::optional<Clock::time_point> Earlier(std::optional<Clock::time_point> a,
                                                std::optional<Clock::time_point> b) {
  if (!a || !b) return a ? a : b;
  return std::min(*a, *b);
}

}  // namespace vorlix::testserver
