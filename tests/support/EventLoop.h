#pragma once

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <functional>

namespace vorlix::test {

// Runs the GUI thread's event loop until `done` holds; false when `limit` passes first.
inline bool RunEventsUntil(const std::function<bool()>& done,
                           std::chrono::milliseconds limit = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QThread::msleep(5);
  }
  return true;
}

}  // namespace vorlix::test
