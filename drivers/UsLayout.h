#pragma once

#include <cstdint>
#include <optional>

namespace vorlix::drivers {

struct KeyStroke {
  uint16_t scanCode;
  bool shift;
};

inline constexpr uint16_t kLeftShiftScanCode = 0x2A;

// The set-1 scan code that types `c` on a US keyboard, and whether shift is held for it.
std::optional<KeyStroke> UsKeyFor(char c);

}  // namespace vorlix::drivers
