#include "platform/system/Event.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

namespace vorlix::platform {
namespace {

constexpr uint32_t kQuiet = 50;

TEST(Event, ManualResetStaysSetForEveryWaitUntilReset) {
  Event event(Event::Reset::Manual, true);
  const Event* events[] = {&event};
  EXPECT_EQ(WaitAny(events, kQuiet), 0);
  EXPECT_EQ(WaitAny(events, kQuiet), 0);
  EXPECT_TRUE(event.IsSet());
  event.ResetEvent();
  EXPECT_FALSE(event.IsSet());
  EXPECT_EQ(WaitAny(events, kQuiet), kWaitTimeout);
}

TEST(Event, AutoResetReleasesOneWaitPerSet) {
  Event event(Event::Reset::Auto);
  const Event* events[] = {&event};
  event.Set();
  event.Set();  // not counted: a set event stays simply set
  EXPECT_EQ(WaitAny(events, kQuiet), 0);
  EXPECT_EQ(WaitAny(events, kQuiet), kWaitTimeout);
}

TEST(Event, WaitAnyNamesTheFirstSetEventAndTellsFailureFromTimeOut) {
  Event a, b, c;
  c.Set();
  b.Set();
  const Event* events[] = {&a, &b, &c};
  EXPECT_EQ(WaitAny(events, kQuiet), 1);

  Event none(Handle{}, Event::Reset::Manual);
  const Event* broken[] = {&a, &none};
  EXPECT_EQ(WaitAny(broken, kQuiet), kWaitFailed);
  EXPECT_EQ(WaitAny({}, kQuiet), kWaitFailed);
}

TEST(Event, SetFromAnotherThreadEndsAnEndlessWait) {
  Event event(Event::Reset::Auto);
  std::thread setter([&] { event.Set(); });
  const Event* events[] = {&event};
  EXPECT_EQ(WaitAny(events, kInfinite), 0);
  setter.join();
}

TEST(Event, AnotherProcessHoldingTheDescriptorCanSetIt) {
  Event event;
  const pid_t child = ::fork();
  if (child == 0) {
    Event(Handle(event.Fd()), Event::Reset::Manual).Set();
    _exit(0);
  }
  const Event* events[] = {&event};
  EXPECT_EQ(WaitAny(events, 10000), 0);
  ::waitpid(child, nullptr, 0);
}

}  // namespace
}  // namespace vorlix::platform
