#pragma once

#include <string>

namespace vorlix::drivers {

// Told when a device of the hub starts or stops being in use, that is open by a client or bound
// to a workplace; a backend keeps a real device away from the local desktop meanwhile.
class DeviceUseListener {
 public:
  virtual ~DeviceUseListener() = default;
  virtual void UseChanged(const std::string& name, bool inUse) = 0;
};

}  // namespace vorlix::drivers
