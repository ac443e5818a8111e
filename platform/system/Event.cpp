#include "platform/system/Event.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>

namespace vorlix::platform {

namespace {

// Drains the counter; true when it was above zero.
bool Consume(int fd) {
  uint64_t count = 0;
  return ::read(fd, &count, sizeof count) == sizeof count;
}

bool Readable(int fd) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, 0) == 1 && (p.revents & POLLIN);
}

constexpr size_t kMaxWaitEvents = 64;

}  // namespace

Event::Event(Reset reset, bool initiallySet)
    : fd_(::eventfd(initiallySet ? 1 : 0, EFD_CLOEXEC | EFD_NONBLOCK)), reset_(reset) {}

Event::Event(Handle fd, Reset reset) : fd_(std::move(fd)), reset_(reset) {}

void Event::Set() const {
  const uint64_t one = 1;
  // The only failure is a counter at its maximum, which is still "set".
  [[maybe_unused]] auto written = ::write(fd_.Get(), &one, sizeof one);
}

void Event::ResetEvent() const { Consume(fd_.Get()); }

bool Event::IsSet() const {
  if (reset_ == Reset::Auto) return Consume(fd_.Get());
  return Readable(fd_.Get());
}

int WaitAny(std::span<const Event* const> events, uint32_t timeoutMs) {
  if (events.empty() || events.size() > kMaxWaitEvents) return kWaitFailed;
  std::array<pollfd, kMaxWaitEvents> fds{};
  for (size_t i = 0; i < events.size(); ++i) {
    if (events[i] == nullptr || !events[i]->IsValid()) return kWaitFailed;
    fds[i] = pollfd{events[i]->Fd(), POLLIN, 0};
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int waitMs = -1;
    if (timeoutMs != kInfinite) {
      auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      waitMs = left.count() > 0 ? static_cast<int>(left.count()) : 0;
    }
    const int n = ::poll(fds.data(), events.size(), waitMs);
    if (n < 0 && errno != EINTR) return kWaitFailed;
    for (size_t i = 0; n > 0 && i < events.size(); ++i) {
      if (fds[i].revents & (POLLERR | POLLNVAL)) return kWaitFailed;
      if (!(fds[i].revents & POLLIN)) continue;
      // Another waiter may have taken an auto-reset event first; then wait on.
      if (!events[i]->IsAutoReset() || Consume(fds[i].fd)) return static_cast<int>(i);
    }
    if (n == 0 && waitMs == 0) return kWaitTimeout;
  }
}

}  // namespace vorlix::platform
