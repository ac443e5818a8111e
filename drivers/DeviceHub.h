#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "drivers/DeviceUseListener.h"
#include "drivers/InterfaceRegistry.h"
#include "platform/devices/RecordRing.h"
#include "platform/system/Handle.h"

namespace vorlix::drivers {

// One open of a device: the ring its reader drains and the eventfd it asked us to set.
struct DeviceOpen {
  std::string device;  // the device's name; empty once the device went away
  InterfaceRegistry::Kind kind{};
  platform::RecordRing ring;
  platform::Handle event;
};

// Sets the open's event, if it handed one over; never blocks (the service keeps it non-blocking).
void SignalOpen(const DeviceOpen& open);

// The devices the service serves, whatever backend feeds them. A backend plugs and unplugs
// devices by name and queues raw records for them; the hub publishes them, keeps each device to
// one open at a time and hands the records to that open. Records of a device nobody has open
// are dropped, as are those that find the open's ring full.
class DeviceHub {
 public:
  using Kind = InterfaceRegistry::Kind;

  explicit DeviceHub(InterfaceRegistry& registry) : registry_(registry) {}

  // 123 for a bad name, 183 when a device of that name is present.
  uint32_t Plug(Kind kind, const std::string& name, bool ps2);
  // 2 when no such device is present. Its open reads 1167 once its ring is drained.
  uint32_t Unplug(const std::string& name);
  // 2 for no such device, 13 for records of the other kind.
  uint32_t Queue(Kind kind, const std::string& name, const void* records, uint32_t count);

  // 2 for no present device of that open name, 32 when it is open elsewhere.
  uint32_t Open(const std::string& openName, DeviceOpen& open);
  void Close(DeviceOpen& open);
  // A bound device stays in use after its open closes, until an open sets it free again.
  void SetBound(const DeviceOpen& open, bool bound);
  // Null for none; the listener must outlive the hub or be withdrawn first.
  void SetListener(DeviceUseListener* listener) { listener_ = listener; }

  // The device path a name gets: shaped like the original platform's interface paths, with
  // "\HID#" for a USB device only, and the same for the same name every time.
  static std::string DevicePath(Kind kind, const std::string& name, bool ps2);
  static uint32_t RecordSize(Kind kind);

 private:
  struct Device {
    Kind kind;
    std::string path;
    DeviceOpen* open = nullptr;
    bool bound = false;
    bool InUse() const { return open != nullptr || bound; }
  };

  uint32_t Publish(Kind kind);
  void Notify(const std::string& name, bool wasInUse, const Device& device);

  InterfaceRegistry& registry_;
  std::map<std::string, Device> devices_;
  DeviceUseListener* listener_ = nullptr;
};

}  // namespace vorlix::drivers
