#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/rdp/MsTscAx.h"

namespace vorlix::test {

// A length-prefixed binary string holding the given bytes, laid out as the client frames a
// channel message: the byte count, then the bytes.
class TestBstr {
 public:
  explicit TestBstr(std::string_view bytes) : storage_(sizeof(uint32_t) + bytes.size()) {
    const auto count = static_cast<uint32_t>(bytes.size());
    std::memcpy(storage_.data(), &count, sizeof count);
    std::memcpy(storage_.data() + sizeof count, bytes.data(), bytes.size());
  }

  platform::BSTR Get() const {
    return reinterpret_cast<platform::BSTR>(storage_.data() + sizeof(uint32_t));
  }

 private:
  std::vector<char> storage_;
};

}  // namespace vorlix::test
