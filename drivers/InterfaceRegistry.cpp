#include "drivers/InterfaceRegistry.h"

#include <algorithm>
#include <string_view>

#include "platform/devices/DeviceInterfaces.h"
#include "platform/registry/RegistryKey.h"

namespace vorlix::drivers {

using platform::KeyAccess;
using platform::RegistryKey;

namespace {

std::string ServiceKey(InterfaceRegistry::Kind kind) {
  return std::string("SYSTEM\\CurrentControlSet\\Services\\") +
         (kind == InterfaceRegistry::Kind::kMouse ? "movorlix" : "kbvorlix");
}

std::string ClassKey(InterfaceRegistry::Kind kind) {
  return std::string("SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\") +
         (kind == InterfaceRegistry::Kind::kMouse ? platform::kMouseClassGuid
                                                  : platform::kKeyboardClassGuid);
}

// The original platform's key name for an interface: its path with '\' made '#'.
std::string InterfaceKey(InterfaceRegistry::Kind kind, std::string path) {
  std::replace(path.begin(), path.end(), '\\', '#');
  return ClassKey(kind) + "\\" + path;
}

}  // namespace

uint32_t InterfaceRegistry::Start() {
  for (const Kind kind : {Kind::kKeyboard, Kind::kMouse}) {
    RegistryKey key;
    if (const uint32_t r =
            RegistryKey::Open(ServiceKey(kind) + "\\Enum", KeyAccess::Full, true, key);
        r != 0) {
      return r;
    }
    if (const uint32_t r = DeactivateAll(kind); r != 0) return r;
    if (const uint32_t r = RewriteEnum(kind, {}); r != 0) return r;
  }
  return 0;
}

uint32_t InterfaceRegistry::DeactivateAll(Kind kind) {
  RegistryKey classKey;
  if (const uint32_t r = RegistryKey::Open(ClassKey(kind), KeyAccess::Full, true, classKey);
      r != 0) {
    return r;
  }
  std::vector<std::string> names;
  classKey.SubkeyNames(names);
  for (const std::string& name : names) {
    RegistryKey key;
    if (RegistryKey::Open(ClassKey(kind) + "\\" + name, KeyAccess::Full, false, key) != 0) continue;
    uint32_t order = 0;
    if (key.ReadInteger("Order", order) == 0) {
      nextOrder_[kind] = std::max(nextOrder_[kind], order + 1);
    }
    key.WriteInteger("Active", 0);
  }
  return 0;
}

uint32_t InterfaceRegistry::SetActive(Kind kind, const std::string& path, bool active) {
  RegistryKey key;
  const std::string keyPath = InterfaceKey(kind, path);
  const bool known = RegistryKey::Open(keyPath, KeyAccess::Full, false, key) == 0;
  if (!known) {
    if (const uint32_t r = RegistryKey::Open(keyPath, KeyAccess::Full, true, key); r != 0) {
      return r;
    }
    key.WriteInteger("Order", nextOrder_[kind]++);
  }
  if (const uint32_t r = key.WriteInteger("Active", active ? 1 : 0); r != 0) return r;
  // Written last: readers skip an interface that has no path yet, also one whose registration
  // an earlier run did not finish.
  std::string stored;
  if (known && key.ReadString("DevicePath", stored) == 0) return 0;
  return key.WriteString("DevicePath", path);
}

uint32_t InterfaceRegistry::RewriteEnum(Kind kind, const std::vector<std::string>& presentPaths) {
  RegistryKey key;
  if (const uint32_t r = RegistryKey::Open(ServiceKey(kind) + "\\Enum", KeyAccess::Full, true, key);
      r != 0) {
    return r;
  }
  std::vector<std::string> names;
  key.ValueNames(names);
  for (const std::string& name : names) {
    if (name != "Count") key.DeleteValue(name);
  }
  for (size_t i = 0; i < presentPaths.size(); ++i) {
    key.WriteString(std::to_string(i), presentPaths[i]);
  }
  return key.WriteInteger("Count", static_cast<uint32_t>(presentPaths.size()));
}

}  // namespace vorlix::drivers
