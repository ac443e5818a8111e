#include "platform/devices/DeviceInterfaces.h"

#include <algorithm>
#include <limits>

#include "common/ResultCodes.h"
#include "platform/registry/RegistryKey.h"

namespace vorlix::platform {

namespace {

constexpr const char* kDeviceClasses = "SYSTEM\\CurrentControlSet\\Control\\DeviceClasses\\";

struct Entry {
  uint32_t order;
  DeviceInterface interface;
};

// False for a key the service is still writing: it writes "DevicePath" last.
bool ReadEntry(const RegistryKey& classKey, const std::string& name, Entry& out) {
  RegistryKey key;
  if (RegistryKey::Open(classKey.Path() + "\\" + name, KeyAccess::Read, false, key) != 0) {
    return false;
  }
  uint32_t active = 0;
  out.order = std::numeric_limits<uint32_t>::max();
  key.ReadInteger("Order", out.order);
  key.ReadInteger("Active", active);
  out.interface.active = active == 1;
  return key.ReadString("DevicePath", out.interface.path) == 0 && !out.interface.path.empty();
}

}  // namespace

uint32_t EnumerateDeviceInterfaces(const std::string& classGuid,
                                   std::vector<DeviceInterface>& out) {
  out.clear();
  RegistryKey classKey;
  const uint32_t opened =
      RegistryKey::Open(kDeviceClasses + classGuid, KeyAccess::Read, false, classKey);
  // A class nobody registered an interface of is an empty set.
  if (opened == ERROR_FILE_NOT_FOUND) return 0;
  if (opened != 0) return opened;
  std::vector<std::string> names;
  if (const uint32_t listed = classKey.SubkeyNames(names); listed != 0) return listed;
  std::vector<Entry> entries;
  for (const std::string& name : names) {
    Entry entry;
    if (ReadEntry(classKey, name, entry)) entries.push_back(std::move(entry));
  }
  std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    return a.order != b.order ? a.order < b.order : a.interface.path < b.interface.path;
  });
  for (Entry& entry : entries) out.push_back(std::move(entry.interface));
  return 0;
}

}  // namespace vorlix::platform
