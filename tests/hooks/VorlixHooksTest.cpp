#include "hooks/VorlixHooks.h"

#include <X11/keysym.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/display/HookHost.h"
#include "tests/hooks/EventLoop.h"
#include "tests/hooks/HookRecorder.h"
#include "tests/hooks/XTestDriver.h"
#include "tests/hooks/XorgSuite.h"

namespace vorlix::platform {
namespace {

using test::HookRecorder;
using test::kPrimaryCenterX;
using test::kPrimaryCenterY;
using test::RunEventsUntil;
using test::XTestDriver;

struct ProcedureCase {
  const char* name;
  const char* symbol;
  int kind;
  void (*stimulus)(XTestDriver&);
  uintptr_t wParam;
};

class VorlixHooksProcedure : public test::XorgSuite,
                             public testing::WithParamInterface<ProcedureCase> {
 protected:
  void TearDown() override {
    for (HHOOK hook : hooks_) UnhookWindowsHookEx(hook);
  }

  std::vector<HHOOK> hooks_;
};

// Found by name as the manager finds it, installed over an older hook that must still get the
// event.
TEST_P(VorlixHooksProcedure, IsExportedAndPassesEventsOn) {
  const ProcedureCase& c = GetParam();
  void* library = dlopen(VORLIX_HOOKS_LIBRARY, RTLD_NOW);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto proc = reinterpret_cast<HOOKPROC>(dlsym(library, c.symbol));
  ASSERT_NE(proc, nullptr) << c.symbol;

  HookRecorder<0>::Reset(c.kind);
  hooks_.push_back(SetWindowsHookEx(c.kind, &HookRecorder<0>::Proc, nullptr, 0));
  hooks_.push_back(SetWindowsHookEx(c.kind, proc, library, 0));
  ASSERT_NE(hooks_.back(), nullptr);

  XTestDriver driver;
  c.stimulus(driver);
  EXPECT_TRUE(RunEventsUntil([&] { return HookRecorder<0>::Find(c.wParam) != nullptr; }));
  dlclose(library);
}

INSTANTIATE_TEST_SUITE_P(
    Library, VorlixHooksProcedure,
    testing::Values(ProcedureCase{"Cbt", "_TSCBTProc@12", WH_CBT,
                                  [](XTestDriver& d) { d.SetActiveWindow(0x4c00003); }, 0x4c00003},
                    ProcedureCase{"Mouse", "_TSLowLevelMouseProc@12", WH_MOUSE_LL,
                                  [](XTestDriver& d) { d.MoveBy(2, 2); }, WM_MOUSEMOVE},
                    ProcedureCase{"Keyboard", "_TSLowLevelKbdProc@12", WH_KEYBOARD_LL,
                                  [](XTestDriver& d) { d.Tap(XK_b); }, WM_KEYDOWN}),
    [](const testing::TestParamInfo<ProcedureCase>& param) { return param.param.name; });

struct SidesCase {
  const char* name;
  std::vector<uint32_t> calls;  // the sides of successive TSSetClipCur calls
  std::pair<int, int> start;
  std::pair<int, int> motion;
  std::pair<int, int> end;
};

class TSSetClipCurSides : public test::XorgSuite, public testing::WithParamInterface<SidesCase> {
 protected:
  void TearDown() override { TSSetClipCur(0, &test::kPrimary); }
};

TEST_P(TSSetClipCurSides, StopsThePointerAtTheGivenEdgesOnly) {
  const SidesCase& c = GetParam();
  XTestDriver driver;
  driver.WarpTo(c.start.first, c.start.second);
  for (const uint32_t sides : c.calls) TSSetClipCur(sides, &test::kPrimary);
  driver.MoveBy(c.motion.first, c.motion.second);
  EXPECT_EQ(driver.Position(), c.end);
}

constexpr std::pair<int, int> kCenter{kPrimaryCenterX, kPrimaryCenterY};

INSTANTIATE_TEST_SUITE_P(
    Edges, TSSetClipCurSides,
    testing::Values(
        SidesCase{"LeftHolds", {1}, kCenter, {-800, 0}, {1024, 1152}},
        SidesCase{"TopHolds", {2}, kCenter, {0, -800}, {1536, 768}},
        SidesCase{"RightHolds", {4}, kCenter, {800, 0}, {2047, 1152}},
        SidesCase{"BottomHolds", {8}, kCenter, {0, 800}, {1536, 1535}},
        SidesCase{"OthersLetThroughLeft", {2 | 4 | 8}, kCenter, {-800, 0}, {736, 1152}},
        SidesCase{"OthersLetThroughTop", {1 | 4 | 8}, kCenter, {0, -800}, {1536, 352}},
        SidesCase{"OthersLetThroughRight", {1 | 2 | 8}, kCenter, {800, 0}, {2336, 1152}},
        SidesCase{"OthersLetThroughBottom", {1 | 2 | 4}, kCenter, {0, 800}, {1536, 1952}},
        SidesCase{"ZeroRemoves", {4, 0}, kCenter, {800, 0}, {2336, 1152}},
        SidesCase{"LaterCallReplaces", {8, 4}, kCenter, {0, 800}, {1536, 1952}},
        SidesCase{"PointerBeyondIsBroughtBack", {4}, {2500, 1152}, {0, 0}, {2047, 1152}}),
    [](const testing::TestParamInfo<SidesCase>& param) { return param.param.name; });

}  // namespace
}  // namespace vorlix::platform
