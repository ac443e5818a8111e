#pragma once

#include <map>
#include <memory>
#include <string>

#include "drivers/DeviceHub.h"
#include "drivers/DeviceUseListener.h"
#include "drivers/EvdevPump.h"
#include "drivers/evdev/EvdevDevice.h"
#include "drivers/evdev/EvdevHotplug.h"
#include "platform/system/Handle.h"

namespace vorlix::drivers {

// Serves the keyboards and mice among the event nodes of a folder (/dev/input), following them
// as they come and go. A device is grabbed while any of its halves is in use, so that the local
// desktop does not see input meant for a workplace.
class EvdevBackend : public DeviceUseListener {
 public:
  explicit EvdevBackend(DeviceHub& hub);
  ~EvdevBackend() override;
  EvdevBackend(const EvdevBackend&) = delete;
  EvdevBackend& operator=(const EvdevBackend&) = delete;

  // Plugs the devices found now. A folder that cannot be watched leaves the backend without
  // devices, with a note on stderr; only a failing epoll instance is an error (errno value).
  int Start(const std::string& folder);
  // Poll this for readability, then call OnReadable.
  int Fd() const { return epoll_.Get(); }
  void OnReadable();

  void UseChanged(const std::string& name, bool inUse) override;

 private:
  struct Served {
    std::string node;
    evdev::EvdevDevice device;
    std::unique_ptr<EvdevPump> pump;
    int users = 0;
  };

  void Add(const std::string& node);
  void Remove(const std::string& node);
  void Forget(std::map<int, std::unique_ptr<Served>>::iterator served);

  DeviceHub& hub_;
  platform::Handle epoll_;
  evdev::EvdevHotplug hotplug_;
  std::map<int, std::unique_ptr<Served>> served_;  // by descriptor
};

}  // namespace vorlix::drivers
