#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The device interfaces that the input service publishes, as the original platform's
// device-interface enumeration gives them. The service records each interface it has ever served
// in the registry, under
//   SYSTEM\CurrentControlSet\Control\DeviceClasses\<class GUID>\<escaped path>
// with the values "DevicePath" (REG_SZ), "Active" (REG_DWORD, 1 while the device is present) and
// "Order" (REG_DWORD, the registration sequence number); the walk lists them by Order.
namespace vorlix::platform {

struct DeviceInterface {
  std::string path;  // the device path, the device's identity
  bool active = false;
};

inline constexpr const char* kMouseClassGuid = "{E4366FAF-1092-444B-A35A-1ACF7D301FB1}";
inline constexpr const char* kKeyboardClassGuid = "{CC2B81D0-0600-49EA-9D4B-4B53041BF9CE}";

// Every registered interface of the class, present or not, in walk order. 0, or the platform
// error number of why the set could not be built. Any thread.
uint32_t EnumerateDeviceInterfaces(const std::string& classGuid, std::vector<DeviceInterface>& out);

}  // namespace vorlix::platform
