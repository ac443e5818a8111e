#include "drivers/evdev/EvdevKeyboardTranslator.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>

#include "drivers/evdev/EvdevDevice.h"
#include "tests/drivers/evdev/EventStream.h"

namespace vorlix::evdev {
namespace {

using test::Events;
using test::kDropped;
using test::kSync;

struct Made {
  uint16_t makeCode;
  uint16_t flags;
  bool operator==(const Made&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Made& m) {
  return os << std::hex << "{0x" << m.makeCode << ", 0x" << m.flags << "}";
}

std::vector<Made> Translate(const std::vector<input_event>& events) {
  EvdevKeyboardTranslator translator;
  std::vector<Made> made;
  std::array<RawKeyboardRecord, EvdevKeyboardTranslator::kMaxRecords> out{};
  for (const input_event& event : events) {
    const size_t n = translator.Feed(event, out);
    for (size_t i = 0; i < n; ++i) {
      EXPECT_EQ(out[i].unit, 0);
      EXPECT_EQ(out[i].reserved, 0);
      EXPECT_EQ(out[i].extra, 0u);
      made.push_back({out[i].makeCode, out[i].flags});
    }
  }
  return made;
}

struct StreamCase {
  const char* name;
  std::vector<input_event> events;
  std::vector<Made> records;
};

class KeyboardStreamTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(KeyboardStreamTest, YieldsTheRecordsAPcKeyboardSends) {
  EXPECT_EQ(Translate(GetParam().events), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, KeyboardStreamTest,
    ::testing::Values(
        StreamCase{"TypedWord",
                   Events({{EV_MSC, MSC_SCAN, 0x70004},
                           {EV_KEY, KEY_A, 1},
                           kSync,
                           {EV_MSC, MSC_SCAN, 0x70004},
                           {EV_KEY, KEY_A, 0},
                           kSync,
                           {EV_KEY, KEY_B, 1},
                           kSync,
                           {EV_KEY, KEY_B, 0},
                           kSync}),
                   {{0x1E, 0}, {0x1E, kKeyBreak}, {0x30, 0}, {0x30, kKeyBreak}}},
        StreamCase{"PauseIsFourRecordsOnPressAndNothingOnRelease",
                   Events({{EV_KEY, KEY_PAUSE, 1}, kSync, {EV_KEY, KEY_PAUSE, 0}, kSync}),
                   {{0x1D, kKeyE1}, {0x45, 0}, {0x1D, kKeyE1 | kKeyBreak}, {0x45, kKeyBreak}}},
        StreamCase{"E0Keys",
                   Events({{EV_KEY, KEY_RIGHTCTRL, 1},
                           kSync,
                           {EV_KEY, KEY_DELETE, 1},
                           kSync,
                           {EV_KEY, KEY_DELETE, 0},
                           {EV_KEY, KEY_RIGHTCTRL, 0},
                           kSync}),
                   {{0x1D, kKeyE0}, {0x53, kKeyE0}, {0x53, 0x3}, {0x1D, 0x3}}},
        StreamCase{"AutorepeatRepeatsTheMakeCode",
                   Events({{EV_KEY, KEY_LEFTSHIFT, 1},
                           kSync,
                           {EV_KEY, KEY_LEFTSHIFT, 2},
                           kSync,
                           {EV_KEY, KEY_LEFTSHIFT, 2},
                           kSync,
                           {EV_KEY, KEY_LEFTSHIFT, 0},
                           kSync}),
                   {{0x2A, 0}, {0x2A, 0}, {0x2A, 0}, {0x2A, kKeyBreak}}},
        StreamCase{"KeysWithoutScanCodeAndOtherEventsYieldNothing",
                   Events({{EV_KEY, BTN_LEFT, 1},
                           {EV_KEY, KEY_PROG1, 1},
                           {EV_LED, LED_CAPSL, 1},
                           {EV_MSC, MSC_SCAN, 0x1E},
                           kSync}),
                   {}},
        StreamCase{"EventsAfterADropAreIgnoredUpToTheNextReport",
                   Events({{EV_KEY, KEY_A, 1},
                           kSync,
                           kDropped,
                           {EV_KEY, KEY_A, 0},
                           kSync,
                           {EV_KEY, KEY_B, 1},
                           kSync}),
                   {{0x1E, 0}, {0x30, 0}}}),
    [](const auto& test) { return test.param.name; });

TEST(KeyboardTranslatorTest, ReadsARecordedStreamFromAPipe) {
  const auto events = Events({{EV_KEY, KEY_A, 1},
                              kSync,
                              {EV_KEY, KEY_PAUSE, 1},
                              kSync,
                              {EV_KEY, KEY_PAUSE, 0},
                              {EV_KEY, KEY_A, 0},
                              kSync});
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const ssize_t size = static_cast<ssize_t>(events.size() * sizeof(input_event));
  ASSERT_EQ(write(fds[1], events.data(), size), size);
  close(fds[1]);

  // A small buffer, so the stream takes several reads as it does from a busy device.
  std::array<input_event, 3> buffer{};
  std::vector<input_event> read;
  ssize_t n;
  while ((n = ReadInputEvents(fds[0], buffer)) > 0)
    read.insert(read.end(), buffer.begin(), buffer.begin() + n);
  close(fds[0]);
  ASSERT_EQ(n, 0);

  EXPECT_EQ(Translate(read), (std::vector<Made>{{0x1E, 0},
                                                {0x1D, kKeyE1},
                                                {0x45, 0},
                                                {0x1D, kKeyE1 | kKeyBreak},
                                                {0x45, kKeyBreak},
                                                {0x1E, kKeyBreak}}));
}

}  // namespace
}  // namespace vorlix::evdev
