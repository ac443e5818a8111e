#include "platform/surface/XErrorTrap.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace vorlix::platform {

namespace {

std::mutex trapLock;
std::vector<Display*> trapped;
XErrorHandler previous = nullptr;

int OnError(Display* display, XErrorEvent* error) {
  {
    const std::lock_guard lock(trapLock);
    if (std::find(trapped.begin(), trapped.end(), display) != trapped.end()) return 0;
  }
  return previous != nullptr ? previous(display, error) : 0;
}

}  // namespace

void TrapErrorsOf(Display* display) {
  static std::once_flag installed;
  std::call_once(installed, [] { previous = XSetErrorHandler(OnError); });
  const std::lock_guard lock(trapLock);
  trapped.push_back(display);
}

void ReleaseErrorsOf(Display* display) {
  const std::lock_guard lock(trapLock);
  // One entry only: a connection opened meanwhile may have got the same address.
  const auto entry = std::find(trapped.begin(), trapped.end(), display);
  if (entry != trapped.end()) trapped.erase(entry);
}

}  // namespace vorlix::platform
