#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

namespace vorlix::test {

// Runs the Qt event loop until `done` holds; false when it still does not after 10 s.
inline bool RunEventsUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

}  // namespace vorlix::test
