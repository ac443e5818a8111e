#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "inputdev/TZephDev.h"
#include "tests/inputdev/DeviceClasses.h"
#include "tests/inputdev/FakeDeviceFile.h"
#include "tests/support/TempRoot.h"

namespace vorlix::test {

// A table row's name as a test name.
inline std::string CaseName(std::string name) {
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

// One present device of each kind in a fresh registry, handles on the fake device file.
class FakeDeviceFixture : public ::testing::Test {
 protected:
  using Keyboard = TZephDev<DeviceKind::Keyboard, FakeDeviceFile>;
  using Mouse = TZephDev<DeviceKind::Mouse, FakeDeviceFile>;

  static constexpr const char* kKeyboardPath = "\\\\?\\HID#VID_046D&PID_C31C#kbd#{cc2b81d0}";
  static constexpr const char* kMousePath = "\\\\?\\ACPI#PNP0F13#4&1#{e4366faf}";

  void SetUp() override {
    gFakeDriver = &driver_;
    keyboards_.InstallDriver();
    keyboards_.Publish(kKeyboardPath, true, 0);
    mice_.InstallDriver();
    mice_.Publish(kMousePath, true, 0);
  }
  void TearDown() override { gFakeDriver = nullptr; }

  template <typename Handle>
  void OpenFirst(Handle& handle) {
    ASSERT_EQ(handle.OpenByPath(handle.GetDeviceList().front().Path), 0u);
  }

  TempRoot root_;
  FakeDriver driver_;
  DeviceClasses keyboards_{DeviceKind::Keyboard};
  DeviceClasses mice_{DeviceKind::Mouse};
};

}  // namespace vorlix::test
