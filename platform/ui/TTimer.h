#pragma once

#include <QTimer>
#include <functional>

namespace vorlix::platform {

// A form's timer as the handlers expect it: Enabled, Interval, Tag and OnTimer. Lives on the
// thread that created it (the GUI thread) and calls OnTimer there.
class TTimer {
 public:
  explicit TTimer(int intervalMs, bool enabled = false) {
    timer_.setInterval(intervalMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (OnTimer) OnTimer();
    });
    SetEnabled(enabled);
  }

  bool Enabled() const { return timer_.isActive(); }
  void SetEnabled(bool enabled) { enabled ? timer_.start() : timer_.stop(); }
  int Interval() const { return timer_.interval(); }
  void SetInterval(int ms) { timer_.setInterval(ms); }

  int Tag = 0;
  std::function<void()> OnTimer;

 private:
  QTimer timer_;
};

}  // namespace vorlix::platform
