#pragma once

#include <QTimer>
#include <functional>

namespace vorlix::platform {

// A form's timer as the handlers expect it: Enabled, Interval, Tag and OnTimer. Lives on the
// thread that created it (the GUI thread) and calls OnTimer there. As a form's timer does, it
// never fires while its interval is 0 or less, even when enabled.
class TTimer {
 public:
  explicit TTimer(int intervalMs, bool enabled = false) {
    interval_ = intervalMs;
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (OnTimer) OnTimer();
    });
    SetEnabled(enabled);
  }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Apply();
  }
  int Interval() const { return interval_; }
  void SetInterval(int ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Apply();
  }

  int Tag = 0;
  std::function<void()> OnTimer;

 private:
  // A change restarts a running timer, as on the original platform.
  void Apply() {
    timer_.stop();
    if (!enabled_ || interval_ <= 0) return;
    timer_.setInterval(interval_);
    timer_.start();
  }

  bool enabled_ = false;
  int interval_ = 0;
  QTimer timer_;
};

}  // namespace vorlix::platform
