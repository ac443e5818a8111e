#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "inputdev/TZephKbd.h"
#include "inputdev/TZephKbdMgr.h"
#include "inputdev/TZephMou.h"
#include "tests/inputdev/KeyboardRegistry.h"
#include "tests/inputdev/Records.h"
#include "tests/support/InputServiceFixture.h"

namespace vorlix::test {
namespace {

using platform::Event;

class InputServiceTest : public InputServiceFixture {
 protected:
  // Reads keyboard units as the service signals them, until `wanted` bytes of units came.
  static Bytes ReadUnits(TZephKbd& keyboard, const Event& arrived, size_t wanted) {
    Bytes units;
    uint8_t buffer[56 * kUnitSize];
    const Event* events[] = {&arrived};
    while (units.size() < wanted) {
      if (platform::WaitAny(events, kGenerous) != 0) break;
      arrived.ResetEvent();
      uint32_t count = 0;
      EXPECT_EQ(keyboard.Read(56, buffer, 0, count), 0u);
      units.insert(units.end(), buffer, buffer + count * kUnitSize);
    }
    return units;
  }
};

TEST_F(InputServiceTest, StatesFollowThePluggedDevices) {
  TZephKbdMgr keyboards;
  EXPECT_EQ(keyboards.GetState(), dsNoDevice);
  Tool("plug keyboard k1");
  EXPECT_EQ(keyboards.GetState(), dsReady);
  Tool("plug keyboard k2");
  AwaitChange(keyboards);
  EXPECT_EQ(keyboards.GetDeviceList().size(), 2u);
  EXPECT_EQ(keyboards.GetState(), dsReady);
}

TEST_F(InputServiceTest, UnpluggedDeviceKeepsItsIdAndOpensAgainWhenBack) {
  Tool("plug keyboard k1");
  Tool("plug keyboard k2");
  TZephKbd keyboard;
  const auto devices = keyboard.GetDeviceList();
  ASSERT_EQ(devices.size(), 2u);
  const int32_t k1 = devices[0].Id;
  EXPECT_EQ(ListInChild(), ListDevices(keyboard, k1));

  Tool("unplug k1");
  AwaitChange(keyboard);
  EXPECT_EQ(keyboard.GetDevicePath(k1), "");
  EXPECT_EQ(keyboard.OpenById(k1), 123u);
  EXPECT_EQ(ListInChild(), ListDevices(keyboard, k1));

  Tool("plug keyboard k1");
  AwaitChange(keyboard);
  EXPECT_EQ(keyboard.GetDevicePath(k1), devices[0].Path);
  EXPECT_EQ(keyboard.OpenById(k1), 0u);
}

TEST_F(InputServiceTest, OpensAreExclusiveAcrossProcesses) {
  Tool("plug keyboard k1");
  TZephKbd keyboard;
  ASSERT_EQ(keyboard.OpenById(keyboard.GetDeviceList().at(0).Id), 0u);
  const ToolResult watch = RunTool(std::string(VORLIXINPUT) + " watch keyboard 0");
  EXPECT_NE(watch.exitCode, 0);
  EXPECT_NE(watch.output.find("32"), std::string::npos) << watch.output;
  keyboard.Close();
  TZephKbd again;
  EXPECT_EQ(again.OpenById(again.GetDeviceList().at(0).Id), 0u);
}

TEST_F(InputServiceTest, TypedKeysSignalTheEventAndArriveAsUnits) {
  Tool("plug keyboard k1");
  TZephKbd keyboard;
  ASSERT_EQ(keyboard.OpenById(keyboard.GetDeviceList().at(0).Id), 0u);
  Event arrived(Event::Reset::Manual);
  ASSERT_EQ(keyboard.AttachEvent(&arrived), 0u);
  uint8_t buffer[kUnitSize];
  uint32_t count = 99;
  EXPECT_EQ(keyboard.Read(1, buffer, 0, count), 0u) << "an empty queue answers at once";
  EXPECT_EQ(count, 0u);

  Tool("type k1 ab");
  const Bytes expected = Join(
      {KeyUnit(0, 0x1E, 0x8), KeyUnit(0, 0x1E, 0xA), KeyUnit(0, 0x30, 0x8), KeyUnit(0, 0x30, 0xA)});
  EXPECT_EQ(ReadUnits(keyboard, arrived, expected.size()), expected);

  Tool("pause k1");
  EXPECT_EQ(ReadUnits(keyboard, arrived, kUnitSize), KeyUnit(0x13, 0, 0));
  EXPECT_EQ(keyboard.GetQueuedCount(), 0u) << "the rest of the sequence was dropped";
}

TEST_F(InputServiceTest, ReadWaitsOnItsOwnEvent) {
  Tool("plug mouse m1");
  TZephMou mouse;
  ASSERT_EQ(mouse.OpenById(mouse.GetDeviceList().at(0).Id), 0u);
  ASSERT_EQ(mouse.AttachEvent(nullptr), 0u);
  Tool("move m1 5 -3");
  uint8_t buffer[4 * kUnitSize];
  uint32_t count = 0;
  ASSERT_EQ(mouse.Read(4, buffer, kGenerous, count), 0u);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(Bytes(buffer, buffer + kUnitSize), MouseUnit(5, -3, 0, 0x0001));
}

}  // namespace
}  // namespace vorlix::test
