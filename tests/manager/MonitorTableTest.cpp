#include "manager/MonitorTable.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

using platform::DisplayMonitor;
using platform::Rect;

constexpr uint32_t kAttached = platform::DISPLAY_DEVICE_ATTACHED_TO_DESKTOP;
constexpr uint32_t kPrimary = platform::DISPLAY_DEVICE_PRIMARY_DEVICE;
constexpr uint32_t kMirror = platform::DISPLAY_DEVICE_MIRRORING_DRIVER;

DisplayMonitor Monitor(const char* name, Rect rect, uint32_t state = kAttached) {
  DisplayMonitor m;
  m.rect = rect;
  m.deviceName = name;
  m.deviceState = state;
  return m;
}

std::vector<std::string> Names(const std::vector<TMonitorInfo>& table) {
  std::vector<std::string> names;
  for (const auto& m : table) names.push_back(m.DeviceName + "=" + m.Symbol);
  return names;
}

TEST(MonitorTable, PrimaryMirrorsAndDetachedMonitorsAreNoWorkplaces) {
  std::vector<TMonitorInfo> table;
  const auto scan = EnumerateMonitors(
      {
          Monitor("DUMMY1", {1280, 0, 2560, 1024}),
          Monitor("DUMMY0", {0, 0, 1280, 1024}, kAttached | kPrimary),
          Monitor("DUMMY3", {1280, 0, 2560, 1024}, kAttached | kMirror),
          Monitor("DUMMY4", {3584, 0, 4384, 600}, 0),
          Monitor("DUMMY2", {2560, 0, 3584, 768}),
      },
      false, table);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"DUMMY1=0", "DUMMY2=1"}));
  EXPECT_EQ(scan.PrimaryRect, (Rect{0, 0, 1280, 1024}));
  EXPECT_EQ(scan.DetachedCount, 1);
  EXPECT_EQ(scan.Sides, 4u);
  EXPECT_EQ(table[0].MonitorRect, (Rect{1280, 0, 2560, 1024}));
  EXPECT_EQ(table[0].KbdId, -1);
  EXPECT_EQ(table[0].MouId, -1);
}

TEST(MonitorTable, MonitorAtTheOriginIsPrimaryEvenUnflaggedAndFlaggedOneElsewhereToo) {
  std::vector<TMonitorInfo> table;
  auto scan = EnumerateMonitors({Monitor("A", {0, 0, 800, 600}), Monitor("B", {800, 0, 1600, 600})},
                                false, table);
  EXPECT_EQ(Names(table), std::vector<std::string>{"B=0"});
  scan = EnumerateMonitors(
      {Monitor("A", {0, 0, 800, 600}), Monitor("B", {-800, 100, 0, 700}, kAttached | kPrimary)},
      false, table);
  EXPECT_EQ(Names(table), std::vector<std::string>{}) << "both count as primary";
  EXPECT_EQ(scan.PrimaryRect, (Rect{-800, 100, 0, 700})) << "the last primary seen wins";
}

TEST(MonitorTable, MonitorThatCannotBeDescribedIsAlwaysAWorkplace) {
  DisplayMonitor unknown = Monitor("\\\\.\\DISPLAY1", {0, 0, 1024, 768}, 0);
  unknown.deviceQueried = false;
  unknown.systemPrimary = true;
  std::vector<TMonitorInfo> table;
  const auto scan = EnumerateMonitors({unknown}, false, table);
  ASSERT_EQ(Names(table), std::vector<std::string>{"DISPLAY1=0"});
  EXPECT_EQ(table[0].MonitorFlags, 1u);
  EXPECT_EQ(scan.PrimaryRect, (Rect{0, 0, 800, 600}));
}

TEST(MonitorTable, DebugMonitorsAddsTheVirtualWorkplaceLast) {
  std::vector<TMonitorInfo> table;
  EnumerateMonitors({Monitor("P", {0, 0, 800, 600}, kAttached | kPrimary)}, true, table);
  ASSERT_EQ(Names(table), std::vector<std::string>{"Virtual0=0"});
  EXPECT_EQ(table[0].MonitorRect, (Rect{32, 32, 832, 632}));
  EnumerateMonitors({Monitor("P", {0, 0, 800, 600}, kAttached | kPrimary),
                     Monitor("S1", {800, 0, 1600, 600}), Monitor("S2", {1600, 0, 2400, 600})},
                    true, table);
  EXPECT_EQ(Names(table), (std::vector<std::string>{"S1=0", "S2=1", "Virtual0=2"}));
}

TEST(MonitorTable, SymbolsRunFromDigitsToLetters) {
  std::string symbols;
  for (size_t n = 0; n < 12; ++n) symbols += WorkplaceSymbol(n);
  EXPECT_EQ(symbols, "0123456789AB");
}

TEST(MonitorTable, LongDeviceNamesAreCutToTheirBuffer) {
  std::vector<TMonitorInfo> table;
  EnumerateMonitors({Monitor("OUTPUT-WITH-A-VERY-LONG-NAME-0123456789", {800, 0, 1600, 600})},
                    false, table);
  EXPECT_EQ(table[0].DeviceName, "OUTPUT-WITH-A-VERY-LONG-NAME-01");
}

TEST(MonitorTable, SidesTestOnlyTheCornersOfEachMonitor) {
  const Rect p{0, 0, 1000, 800};
  const struct {
    std::vector<Rect> secondary;
    uint32_t sides;
  } cases[] = {
      {{{1000, 0, 2000, 800}}, 4},                         // right, starting at the edge
      {{{0, 800, 1000, 1600}}, 8},                         // below
      {{{1000, 0, 2000, 800}, {0, 800, 1000, 1600}}, 12},  // both
      {{{-1000, 100, 0, 900}}, 1},                         // left
      {{{200, -600, 1200, 0}}, 2},                         // above
      {{{-500, -800, 1500, -100}}, 0},                     // spans the width: no corner within
      {{{1000, 900, 2000, 1700}}, 0},                      // diagonal
      {{{1000, -100, 2000, 700}}, 4},                      // bottom corner within
      {{{1000, -100, 2000, 800}}, 0},                      // bottom is exclusive
      {{{-500, -800, 1500, 0}}, 1},                        // its bottom edge touches the top
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ComputeSides(c.secondary, p), c.sides)
        << c.secondary[0].left << "," << c.secondary[0].top;
  }
  EXPECT_EQ(ComputeSides({{800, 0, 1600, 600}}, Rect{0, 0, 800, 600}), 4u);
}

TEST(MonitorTable, FindWorkplaceComparesNamesExactly) {
  std::vector<TMonitorInfo> table;
  EnumerateMonitors(
      {Monitor("DUMMY1", {800, 0, 1600, 600}), Monitor("DUMMY2", {1600, 0, 2400, 600})}, false,
      table);
  EXPECT_EQ(FindWorkplace(table, "DUMMY2"), 1);
  EXPECT_EQ(FindWorkplace(table, "dummy2"), -1);
  EXPECT_EQ(FindWorkplace(table, ""), -1);
}

}  // namespace
}  // namespace vorlix
