#pragma once

#include <stdexcept>
#include <string>

#include "platform/rdp/HResult.h"

namespace vorlix::platform {

// Raised when a control cannot be created; the programs show it with their standard error
// display. `ErrorCode()` is the failure result behind it.
class EOleSysError : public std::runtime_error {
 public:
  EOleSysError(const std::string& message, HRESULT code)
      : std::runtime_error(message), code_(code) {}
  HRESULT ErrorCode() const { return code_; }

 private:
  HRESULT code_;
};

}  // namespace vorlix::platform
