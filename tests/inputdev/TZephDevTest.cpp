#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "tests/inputdev/FakeDeviceFixture.h"
#include "tests/inputdev/Records.h"

namespace vorlix::test {
namespace {

using platform::Event;
using platform::IOCTL_INPDEV_SET_EVENT;

class HandleTest : public FakeDeviceFixture {};

TEST_F(HandleTest, OpensUnderThePathFollowedByEdo) {
  Keyboard keyboard;
  ASSERT_EQ(keyboard.OpenById(keyboard.FindDeviceId(kKeyboardPath)), 0u);
  EXPECT_TRUE(keyboard.IsOpen());
  EXPECT_EQ(driver_.openName, std::string(kKeyboardPath) + "edo");
}

TEST_F(HandleTest, RefusedOpensTryNothingAndLeaveTheHandleClosed) {
  const std::string tooLong = "\\\\?\\HID#" + std::string(245, 'x');
  ASSERT_EQ(tooLong.size(), 253u);
  keyboards_.Publish("\\\\?\\HID#gone", false, 1);
  keyboards_.Publish(tooLong, true, 2);
  std::string upper = kKeyboardPath;
  for (char& ch : upper) ch = static_cast<char>(std::toupper(ch));

  for (const std::string& path : {std::string(), std::string("\\\\?\\HID#never"),
                                  std::string("\\\\?\\HID#gone"), upper, tooLong}) {
    Keyboard keyboard;
    EXPECT_EQ(keyboard.OpenByPath(path), 123u) << path;
    EXPECT_FALSE(keyboard.IsOpen());
  }
  Keyboard keyboard;
  EXPECT_EQ(keyboard.OpenById(-1), 123u);
  EXPECT_EQ(driver_.opens, 0);
}

TEST_F(HandleTest, OpenByIdOfAnOpenHandleClosesItFirstAndWithdrawsItsOwnEvent) {
  Keyboard keyboard;
  OpenFirst(keyboard);
  ASSERT_EQ(keyboard.AttachEvent(nullptr), 0u);
  EXPECT_EQ(keyboard.OpenById(-1), 123u);
  EXPECT_FALSE(keyboard.IsOpen());
  EXPECT_TRUE(driver_.closed);
  ASSERT_EQ(driver_.requests.size(), 2u);
  EXPECT_EQ(driver_.requests[1].code, IOCTL_INPDEV_SET_EVENT);
  EXPECT_EQ(driver_.requests[1].value, 0u);
}

TEST_F(HandleTest, OperationsOnAClosedHandle) {
  Keyboard keyboard;
  uint8_t units[kUnitSize];
  uint32_t count = 99;
  EXPECT_EQ(keyboard.Read(1, units, 0, count), 6u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(keyboard.AttachEvent(nullptr), 6u);
  EXPECT_EQ(keyboard.Flush(), 6u);
  EXPECT_EQ(keyboard.SetBindMode(kBindModeBound), 6u);
  EXPECT_EQ(keyboard.SendKeyboardWord(0x0004), 6u);
  EXPECT_EQ(keyboard.GetQueuedCount(), 0u);
  EXPECT_EQ(keyboard.DetachEvent(), 0u);
  EXPECT_TRUE(driver_.requests.empty());
}

TEST_F(HandleTest, RequestsCarryTheirValues) {
  Keyboard keyboard;
  OpenFirst(keyboard);
  driver_.Queue(Join({KeyRecord(0x1E, 0), KeyRecord(0x1E, 1)}));
  EXPECT_EQ(keyboard.GetQueuedCount(), 2u);
  EXPECT_EQ(keyboard.SetBindMode(kBindModeFree), 0u);
  EXPECT_EQ(keyboard.SendKeyboardWord(0x0005), 0u);
  EXPECT_EQ(keyboard.Flush(), 0u);
  EXPECT_EQ(keyboard.GetQueuedCount(), 0u);
  ASSERT_EQ(driver_.requests.size(), 4u);
  EXPECT_EQ(driver_.requests[1].code, platform::IOCTL_INPDEV_SET_MODE);
  EXPECT_EQ(driver_.requests[1].value, 2u);
  EXPECT_EQ(driver_.requests[2].code, platform::IOCTL_INPDEV_SEND_WORD);
  EXPECT_EQ(driver_.requests[2].value, 5u);
}

TEST_F(HandleTest, OwnEventIsRegisteredOnceAndWithdrawnWhenTheHandleGoes) {
  {
    Mouse mouse;
    OpenFirst(mouse);
    EXPECT_EQ(mouse.AttachEvent(nullptr), 0u);
    EXPECT_EQ(mouse.AttachEvent(nullptr), 0u);
    ASSERT_EQ(driver_.SetEventRequests(), 1);
    EXPECT_NE(driver_.requests[0].value, 0u);
  }
  ASSERT_EQ(driver_.SetEventRequests(), 2);
  EXPECT_EQ(driver_.requests.back().value, 0u);
  EXPECT_TRUE(driver_.closed);
}

TEST_F(HandleTest, BorrowedEventIsRegisteredByItsValueAndNeverWaitedOn) {
  Mouse mouse;
  OpenFirst(mouse);
  Event borrowed(Event::Reset::Manual);
  ASSERT_EQ(mouse.AttachEvent(&borrowed), 0u);
  EXPECT_EQ(driver_.requests[0].value, static_cast<uint32_t>(borrowed.Fd()));
  driver_.Queue(MouseRecord(0, 0, 1, 0));
  uint8_t units[kUnitSize];
  uint32_t count = 0;
  // Not set, and a wait this long would fail the test by its time limit.
  EXPECT_EQ(mouse.Read(1, units, 600000, count), 0u);
  EXPECT_EQ(count, 1u);
  mouse.Close();
  EXPECT_TRUE(borrowed.IsValid());
}

TEST_F(HandleTest, ReadWaitsOnItsOwnEventOnly) {
  Keyboard keyboard;
  OpenFirst(keyboard);
  uint8_t units[kUnitSize];
  uint32_t count = 99;
  EXPECT_EQ(keyboard.Read(1, units, 0, count), 0u) << "nothing queued, no wait";
  EXPECT_EQ(count, 0u);

  ASSERT_EQ(keyboard.AttachEvent(nullptr), 0u);
  driver_.Queue(KeyRecord(0x1E, 0));
  EXPECT_EQ(keyboard.Read(1, units, 20, count), 1460u);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(driver_.queued.size(), 12u) << "a timed-out read reads nothing";
}

TEST_F(HandleTest, FailedAttachLeavesNoEventBehind) {
  Keyboard keyboard;
  OpenFirst(keyboard);
  driver_.controlError = 31;
  EXPECT_EQ(keyboard.AttachEvent(nullptr), 31u);
  driver_.controlError = 0;
  uint8_t units[kUnitSize];
  uint32_t count = 0;
  EXPECT_EQ(keyboard.Read(1, units, 1000, count), 6u) << "no event to wait on";
  EXPECT_EQ(keyboard.AttachEvent(nullptr), 0u) << "a new own event, not the failed one";
  EXPECT_EQ(driver_.SetEventRequests(), 2);
}

TEST_F(HandleTest, ReadErrorDeliversNoUnit) {
  Mouse mouse;
  OpenFirst(mouse);
  driver_.readError = 1167;
  uint8_t units[kUnitSize];
  uint32_t count = 99;
  EXPECT_EQ(mouse.Read(1, units, 0, count), 1167u);
  EXPECT_EQ(count, 0u);
  EXPECT_TRUE(mouse.IsOpen());
}

// What one keyboard read delivers around a Pause press (P: the four records starting with E1),
// and what the next read delivers.
struct PauseCase {
  const char* name;
  Bytes queued;
  Bytes arriving;  // queued at poll number `arrivesAtPoll` of the handle
  int arrivesAtPoll;
  Bytes firstRead;
  int polls;
  Bytes secondRead;
};

const Bytes kPause = Join({KeyRecord(0x1D, 0x0004), KeyRecord(0x45, 0), KeyRecord(0x1D, 0x0001),
                           KeyRecord(0x45, 0x0001)});
const Bytes kPauseRest(kPause.begin() + 12, kPause.end());
const Bytes kA = KeyRecord(0x1E, 0);
const Bytes kB = KeyRecord(0x30, 0);
const Bytes kUnitA = KeyUnit(0, 0x1E, 0x0008);
const Bytes kUnitB = KeyUnit(0, 0x30, 0x0008);
const Bytes kPauseUnit = KeyUnit(0x13, 0, 0);
const Bytes kRestUnits =
    Join({KeyUnit(0, 0x45, 0x0008), KeyUnit(0, 0x1D, 0x000A), KeyUnit(0, 0x45, 0x000A)});

const PauseCase kPauseCases[] = {
    {"whole sequence inside",
     Join({kA, kPause, kB}),
     {},
     -1,
     Join({kUnitA, kPauseUnit, kUnitB}),
     0,
     {}},
    {"only the first sequence collapses",
     Join({kPause, kPause}),
     {},
     -1,
     Join({kPauseUnit, kPauseUnit, kRestUnits}),
     0,
     {}},
    {"cut after E1, rest comes", Join({kA, Bytes(kPause.begin(), kPause.begin() + 12)}),
     Join({kPauseRest, kB}), 3, Join({kUnitA, kPauseUnit}), 3, kUnitB},
    {"cut after two, rest comes",
     Bytes(kPause.begin(), kPause.begin() + 24),
     Bytes(kPause.begin() + 24, kPause.end()),
     1,
     kPauseUnit,
     1,
     {}},
    {"cut, rest never comes in time", Bytes(kPause.begin(), kPause.begin() + 12), kPauseRest, 21,
     kPauseUnit, 20, kRestUnits},
};

void PrintTo(const PauseCase& c, std::ostream* out) { *out << c.name; }

class PauseTest : public FakeDeviceFixture, public ::testing::WithParamInterface<PauseCase> {};

TEST_P(PauseTest, CollapsesToOneUnit) {
  const PauseCase& c = GetParam();
  Keyboard keyboard;
  OpenFirst(keyboard);
  driver_.Queue(c.queued);
  driver_.arriving = c.arriving;
  driver_.arrivesAtPoll = c.arrivesAtPoll;
  Bytes buffer(8 * kUnitSize);
  uint32_t count = 0;
  ASSERT_EQ(keyboard.Read(8, buffer.data(), 0, count), 0u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + count * kUnitSize), c.firstRead);
  EXPECT_EQ(driver_.polls, c.polls);

  // What did not arrive while the read polled arrives now.
  if (driver_.polls < c.arrivesAtPoll) driver_.Queue(c.arriving);
  ASSERT_EQ(keyboard.Read(8, buffer.data(), 0, count), 0u);
  EXPECT_EQ(Bytes(buffer.begin(), buffer.begin() + count * kUnitSize), c.secondRead);
}

INSTANTIATE_TEST_SUITE_P(Sequences, PauseTest, ::testing::ValuesIn(kPauseCases),
                         [](const auto& row) { return CaseName(row.param.name); });

}  // namespace
}  // namespace vorlix::test
