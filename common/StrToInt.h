#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace vorlix {

// The number conversion error the programs show with their standard error display.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A whole signed 32-bit decimal number (an optional sign, then digits); anything else raises
// EConvertError "'text' is not a valid integer value".
int32_t StrToInt(const std::string& text);

}  // namespace vorlix
