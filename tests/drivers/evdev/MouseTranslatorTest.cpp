#include "drivers/evdev/EvdevMouseTranslator.h"

#include <gtest/gtest.h>

#include "tests/drivers/evdev/EventStream.h"

namespace vorlix::evdev {
namespace {

using test::Events;
using test::kDropped;
using test::kSync;

struct Report {
  uint16_t buttonFlags;
  int16_t buttonData;
  int32_t lastX;
  int32_t lastY;
  bool operator==(const Report&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Report& r) {
  return os << "{flags 0x" << std::hex << r.buttonFlags << std::dec << ", data " << r.buttonData
            << ", x " << r.lastX << ", y " << r.lastY << "}";
}

std::vector<Report> Translate(const std::vector<input_event>& events) {
  EvdevMouseTranslator translator;
  std::vector<Report> reports;
  for (const input_event& event : events) {
    RawMouseRecord out{};
    if (!translator.Feed(event, out)) continue;
    EXPECT_EQ(out.unit, 0);
    EXPECT_EQ(out.flags, 0) << "motion is relative";
    EXPECT_EQ(out.rawButtons, 0u);
    EXPECT_EQ(out.extra, 0u);
    reports.push_back({out.buttonFlags, out.buttonData, out.lastX, out.lastY});
  }
  return reports;
}

struct StreamCase {
  const char* name;
  std::vector<input_event> events;
  std::vector<Report> records;
};

class MouseStreamTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(MouseStreamTest, YieldsOneRecordPerReportWithInput) {
  EXPECT_EQ(Translate(GetParam().events), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, MouseStreamTest,
    ::testing::Values(
        StreamCase{"MotionButtonsAndWheelInOneReport",
                   Events({{EV_REL, REL_X, 3},
                           {EV_REL, REL_Y, -2},
                           {EV_REL, REL_X, 4},
                           {EV_KEY, BTN_LEFT, 1},
                           {EV_KEY, BTN_SIDE, 1},
                           {EV_REL, REL_WHEEL, -1},
                           kSync}),
                   {{kMouseLeftDown | kMouseButton4Down | kMouseWheel, -120, 7, -2}}},
        StreamCase{"EachButtonDownAndUp",
                   Events({{EV_KEY, BTN_RIGHT, 1},
                           {EV_KEY, BTN_MIDDLE, 1},
                           {EV_KEY, BTN_EXTRA, 1},
                           kSync,
                           {EV_KEY, BTN_LEFT, 0},
                           {EV_KEY, BTN_RIGHT, 0},
                           {EV_KEY, BTN_MIDDLE, 0},
                           {EV_KEY, BTN_SIDE, 0},
                           {EV_KEY, BTN_EXTRA, 0},
                           kSync}),
                   {{0x0114, 0, 0, 0}, {0x02AA, 0, 0, 0}}},
        StreamCase{"AReportWithOnlySyncYieldsNothing",
                   Events({kSync, {EV_REL, REL_X, 1}, kSync}),
                   {{0, 0, 1, 0}}},
        StreamCase{"MotionThatCancelsOutYieldsNothing",
                   Events({{EV_REL, REL_X, 5}, {EV_REL, REL_X, -5}, kSync}),
                   {}},
        StreamCase{"WheelNotchesAreWorth120",
                   Events({{EV_REL, REL_WHEEL, 2}, kSync}),
                   {{kMouseWheel, 240, 0, 0}}},
        StreamCase{"HighResolutionWheelIsPreferredInEitherOrder",
                   Events({{EV_REL, REL_WHEEL, 1},
                           {EV_REL, REL_WHEEL_HI_RES, 120},
                           kSync,
                           {EV_REL, REL_WHEEL_HI_RES, -30},
                           kSync,
                           {EV_REL, REL_WHEEL_HI_RES, -90},
                           {EV_REL, REL_WHEEL, -1},
                           kSync}),
                   {{kMouseWheel, 120, 0, 0}, {kMouseWheel, -30, 0, 0}, {kMouseWheel, -90, 0, 0}}},
        StreamCase{"WheelDeltaIsHeldToSixteenBits",
                   Events({{EV_REL, REL_WHEEL, 300}, kSync}),
                   {{kMouseWheel, 32767, 0, 0}}},
        StreamCase{"ADropDiscardsThePartialReportAndTheRestOfIt",
                   Events({{EV_REL, REL_X, 9},
                           {EV_KEY, BTN_LEFT, 1},
                           kDropped,
                           {EV_REL, REL_Y, 9},
                           kSync,
                           {EV_REL, REL_Y, 1},
                           kSync}),
                   {{0, 0, 0, 1}}}),
    [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace vorlix::evdev
