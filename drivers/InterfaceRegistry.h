#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/devices/InputProtocol.h"

namespace vorlix::drivers {

// Publishes the service's devices where EnumerateDeviceInterfaces finds them: one key per
// interface ever registered under its kind's class, kept across restarts with "Active" 0 while
// absent. Also owns the service keys and rewrites a kind's "Enum" key on every change of its
// present devices, so that change watches fire.
class InterfaceRegistry {
 public:
  using Kind = platform::input_protocol::Kind;

  // Creates the service and Enum keys and marks every registered interface absent.
  uint32_t Start();
  // Registers the path on its first appearance (next "Order" of its class).
  uint32_t SetActive(Kind kind, const std::string& path, bool active);
  // "Count" and the values "0".."Count-1" holding the present paths.
  uint32_t RewriteEnum(Kind kind, const std::vector<std::string>& presentPaths);

 private:
  uint32_t DeactivateAll(Kind kind);

  uint32_t nextOrder_[2] = {0, 0};
};

}  // namespace vorlix::drivers
