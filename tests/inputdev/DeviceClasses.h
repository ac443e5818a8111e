#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "inputdev/DeviceKind.h"
#include "platform/registry/RegistryKey.h"

namespace vorlix::test {

// Writes what the input service publishes about one kind, straight into the registry: the
// service key, its change key and the registered interfaces with their walk order.
class DeviceClasses {
 public:
  explicit DeviceClasses(DeviceKind kind) : traits_(TraitsOf(kind)) {}

  void InstallDriver() {
    Open(traits_.serviceKey);
    Open(traits_.changeKey);
  }

  // Registers the path (or updates it) with the given walk position, then signals the change.
  void Publish(const std::string& path, bool active, uint32_t order) {
    auto [it, added] = names_.try_emplace(path, "dev" + std::to_string(names_.size()));
    const auto key = Open(std::string("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") +
                          traits_.classGuid + "\\" + it->second);
    ASSERT_EQ(key.WriteInteger("Order", order), 0u);
    ASSERT_EQ(key.WriteInteger("Active", active ? 1 : 0), 0u);
    ASSERT_EQ(key.WriteString("DevicePath", path), 0u);
    Changed();
  }

  void Changed() { ASSERT_EQ(Open(traits_.changeKey).WriteInteger("Seq", ++changes_), 0u); }

 private:
  static platform::RegistryKey Open(const std::string& path) {
    platform::RegistryKey key;
    EXPECT_EQ(platform::RegistryKey::Open(path, platform::KeyAccess::Full, true, key), 0u) << path;
    return key;
  }

  KindTraits traits_;
  std::map<std::string, std::string> names_;
  uint32_t changes_ = 0;
};

}  // namespace vorlix::test
