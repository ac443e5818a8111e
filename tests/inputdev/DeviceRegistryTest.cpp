#include <gtest/gtest.h>

#include <string>

#include "inputdev/TZephKbd.h"
#include "inputdev/TZephKbdMgr.h"
#include "tests/inputdev/DeviceClasses.h"
#include "tests/inputdev/KeyboardRegistry.h"
#include "tests/support/TempRoot.h"

namespace vorlix::test {
namespace {

constexpr const char* kA =
    "\\\\?\\HID#VID_1111&PID_0001#7&a#{cc2b81d0-0600-49ea-9d4b-4b53041bf9ce}";
constexpr const char* kB = "\\\\?\\ACPI#PNP0303#4&b#{cc2b81d0-0600-49ea-9d4b-4b53041bf9ce}";
constexpr const char* kC =
    "\\\\?\\HID#VID_2222&PID_0002#7&c#{cc2b81d0-0600-49ea-9d4b-4b53041bf9ce}";

class DeviceRegistryTest : public ::testing::Test {
 protected:
  TempRoot root_;
  DeviceClasses keyboards_{DeviceKind::Keyboard};
};

TEST_F(DeviceRegistryTest, ProcessesNumberAlikeAndALaterDeviceGetsTheNextId) {
  keyboards_.InstallDriver();
  keyboards_.Publish(kA, true, 1);
  keyboards_.Publish(kB, false, 2);
  TZephKbdMgr keyboards;
  const int32_t base = keyboards.GetDeviceList().at(0).Id;
  EXPECT_EQ(ListDevices(keyboards, base),
            std::string("state 5\n0\t1\t") + kA + "\n1\t0\t" + kB + "\n");
  EXPECT_EQ(ListInChild(), ListDevices(keyboards, base));

  keyboards_.Publish(kC, true, 0);  // the walk lists it first
  AwaitChange(keyboards);
  EXPECT_EQ(ListDevices(keyboards, base),
            std::string("state 5\n0\t1\t") + kA + "\n1\t0\t" + kB + "\n2\t1\t" + kC + "\n");
  EXPECT_EQ(ListInChild(),
            std::string("state 5\n0\t1\t") + kC + "\n1\t1\t" + kA + "\n2\t0\t" + kB + "\n")
      << "a process that starts later numbers in walk order from 0";
}

TEST_F(DeviceRegistryTest, UnplugKeepsTheIdAndTheSamePathGetsItBack) {
  keyboards_.InstallDriver();
  keyboards_.Publish(kA, true, 0);
  keyboards_.Publish(kB, true, 1);
  TZephKbdMgr keyboards;
  const int32_t a = keyboards.FindDeviceId(kA);
  ASSERT_GE(a, 0);

  keyboards_.Publish(kA, false, 0);
  AwaitChange(keyboards);
  EXPECT_EQ(keyboards.GetDeviceList().at(0).Id, a);
  EXPECT_FALSE(keyboards.GetDeviceList().at(0).Present);
  EXPECT_EQ(keyboards.GetDevicePath(a), "");
  EXPECT_EQ(keyboards.FindDeviceId(kA), -1);
  EXPECT_EQ(keyboards.GetState(), dsReady) << "B is still there";

  keyboards_.Publish(kA, true, 0);
  AwaitChange(keyboards);
  EXPECT_EQ(keyboards.GetDevicePath(a), kA);
  EXPECT_EQ(keyboards.FindDeviceId(kA), a);

  keyboards_.Publish(kC, true, 2);  // A in another port
  AwaitChange(keyboards);
  EXPECT_EQ(keyboards.FindDeviceId(kC), a + 2);
}

TEST_F(DeviceRegistryTest, FindDeviceIdComparesExactly) {
  keyboards_.InstallDriver();
  keyboards_.Publish(kA, true, 0);
  std::string lower = kA;
  for (char& ch : lower) ch = static_cast<char>(std::tolower(ch));
  TZephKbdMgr keyboards;
  EXPECT_GE(keyboards.FindDeviceId(kA), 0);
  EXPECT_EQ(keyboards.FindDeviceId(lower), -1);
}

TEST_F(DeviceRegistryTest, WithoutTheDriverNothingIsPresent) {
  EXPECT_EQ(ListInChild(), "state 3\n");
}

TEST_F(DeviceRegistryTest, StatesFollowTheDevices) {
  keyboards_.InstallDriver();
  keyboards_.Publish(kA, false, 0);
  TZephKbdMgr keyboards;
  EXPECT_EQ(keyboards.GetState(), dsNoDevice);
  EXPECT_EQ(keyboards.GetDevicePath(keyboards.GetDeviceList().at(0).Id), "");

  keyboards_.Publish(kA, true, 0);
  EXPECT_EQ(keyboards.GetState(), dsReady) << "every request retries until a device is there";

  keyboards_.Changed();
  AwaitChange(keyboards);
  EXPECT_TRUE(keyboards.GetDeviceList().at(0).Present);
  EXPECT_EQ(keyboards.GetState(), dsReady);
}

TEST_F(DeviceRegistryTest, RebuiltRegistryContinuesTheCounter) {
  keyboards_.InstallDriver();
  keyboards_.Publish(kA, true, 0);
  keyboards_.Publish(kB, true, 1);
  int32_t first = -1;
  {
    TZephKbd handle;  // a user too, open or not
    first = TZephKbdMgr().FindDeviceId(kA);
    EXPECT_EQ(TZephKbdMgr().FindDeviceId(kA), first) << "the handle kept the registry";
  }
  TZephKbdMgr keyboards;
  EXPECT_EQ(keyboards.FindDeviceId(kA), first + 2);
  EXPECT_EQ(keyboards.FindDeviceId(kB), first + 3);
}

}  // namespace
}  // namespace vorlix::test
