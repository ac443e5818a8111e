#include "platform/display/HookHost.h"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <vector>

#include "tests/hooks/EventLoop.h"
#include "tests/hooks/HookRecorder.h"
#include "tests/hooks/XTestDriver.h"
#include "tests/hooks/XorgSuite.h"

namespace vorlix::platform {
namespace {

using test::HookCall;
using test::HookRecorder;
using test::RunEventsUntil;
using test::XTestDriver;

constexpr Window kSomeWindow = 0x3a00005;

class HookHostOnXorg : public test::XorgSuite {
 protected:
  void TearDown() override {
    for (HHOOK hook : hooks_) UnhookWindowsHookEx(hook);
  }

  // Installs a recorder; the test fails when the host refuses it.
  template <int Slot>
  HHOOK Install(int kind, bool passOn = true) {
    HookRecorder<Slot>::Reset(kind, passOn);
    HHOOK hook = SetWindowsHookEx(kind, &HookRecorder<Slot>::Proc, nullptr, 0);
    EXPECT_NE(hook, nullptr);
    hooks_.push_back(hook);
    return hook;
  }

  XTestDriver driver_;
  std::vector<HHOOK> hooks_;
};

struct DeliveryCase {
  const char* name;
  int kind;
  void (*stimulus)(XTestDriver&);
  int code;
  uintptr_t wParam;
  uint32_t vkCode = 0;  // keyboard
  uint32_t flags = 0;   // keyboard
};

class HookDelivery : public HookHostOnXorg, public testing::WithParamInterface<DeliveryCase> {};

TEST_P(HookDelivery, ReachesAHookOfItsKind) {
  const DeliveryCase& c = GetParam();
  Install<0>(c.kind);
  c.stimulus(driver_);

  ASSERT_TRUE(RunEventsUntil([&] { return HookRecorder<0>::Find(c.wParam) != nullptr; }));
  const HookCall& call = *HookRecorder<0>::Find(c.wParam);
  EXPECT_EQ(call.code, c.code);
  if (c.kind == WH_MOUSE_LL) {
    EXPECT_EQ(std::make_pair(call.mouse.x, call.mouse.y), driver_.Position());
  }
  if (c.kind == WH_KEYBOARD_LL) {
    EXPECT_EQ(call.keyboard.vkCode, c.vkCode);
    EXPECT_EQ(call.keyboard.flags, c.flags);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Events, HookDelivery,
    testing::Values(DeliveryCase{"PointerMotion", WH_MOUSE_LL,
                                 [](XTestDriver& d) { d.MoveBy(7, 3); }, HC_ACTION, WM_MOUSEMOVE},
                    DeliveryCase{"LeftButton", WH_MOUSE_LL, [](XTestDriver& d) { d.Click(1); },
                                 HC_ACTION, WM_LBUTTONDOWN},
                    DeliveryCase{"KeyDown", WH_KEYBOARD_LL, [](XTestDriver& d) { d.Tap(XK_a); },
                                 HC_ACTION, WM_KEYDOWN, 'A', 0},
                    DeliveryCase{"KeyUp", WH_KEYBOARD_LL, [](XTestDriver& d) { d.Tap(XK_a); },
                                 HC_ACTION, WM_KEYUP, 'A', LLKHF_UP},
                    DeliveryCase{"Activation", WH_CBT,
                                 [](XTestDriver& d) { d.SetActiveWindow(kSomeWindow); },
                                 HCBT_ACTIVATE, kSomeWindow}),
    [](const testing::TestParamInfo<DeliveryCase>& param) { return param.param.name; });

TEST_F(HookHostOnXorg, NewestHookFirstAndOlderOnlyWhenPassedOn) {
  Install<0>(WH_MOUSE_LL);
  Install<1>(WH_MOUSE_LL);
  driver_.MoveBy(1, 0);
  ASSERT_TRUE(RunEventsUntil([] { return !HookRecorder<0>::Calls().empty(); }));
  ASSERT_FALSE(HookRecorder<1>::Calls().empty());
  EXPECT_LT(HookRecorder<1>::Calls().front().order, HookRecorder<0>::Calls().front().order);

  HookRecorder<0>::Reset(WH_MOUSE_LL);
  HookRecorder<1>::Reset(WH_MOUSE_LL, false);
  driver_.MoveBy(1, 0);
  ASSERT_TRUE(RunEventsUntil([] { return !HookRecorder<1>::Calls().empty(); }));
  EXPECT_TRUE(HookRecorder<0>::Calls().empty());
}

size_t OpenFiles() {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                           std::filesystem::directory_iterator()));
}

TEST_F(HookHostOnXorg, UnhookedProcedureGetsNothingAndTheLastUnhookClosesTheConnection) {
  const size_t filesBefore = OpenFiles();
  HHOOK removed = Install<0>(WH_MOUSE_LL);
  HHOOK kept = Install<1>(WH_MOUSE_LL);
  EXPECT_TRUE(UnhookWindowsHookEx(removed));
  EXPECT_FALSE(UnhookWindowsHookEx(removed));

  driver_.MoveBy(1, 0);
  ASSERT_TRUE(RunEventsUntil([] { return !HookRecorder<1>::Calls().empty(); }));
  EXPECT_TRUE(HookRecorder<0>::Calls().empty());

  EXPECT_TRUE(UnhookWindowsHookEx(kept));
  hooks_.clear();
  EXPECT_EQ(OpenFiles(), filesBefore);
}

}  // namespace
}  // namespace vorlix::platform
