#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorlix::platform {

// The registry error that TRegistry raises; the programs show it with their standard error
// display. `Error()` is the platform error number behind it.
class ERegistryException : public std::runtime_error {
 public:
  ERegistryException(const std::string& message, uint32_t error)
      : std::runtime_error(message), error_(error) {}
  uint32_t Error() const { return error_; }

 private:
  uint32_t error_;
};

}  // namespace vorlix::platform
