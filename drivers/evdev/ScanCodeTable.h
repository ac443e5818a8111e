#pragma once

#include <cstdint>
#include <optional>

namespace vorlix::evdev {

// A PC set-1 make code and whether the keyboard sends it behind an E0 prefix.
struct ScanCode {
  uint8_t make;
  bool e0;
};

// The scan code of a Linux key code (KEY_*); none for keys a PC keyboard does not have.
// KEY_PAUSE has none either: it is the E1 sequence, which the keyboard translator writes.
std::optional<ScanCode> ScanCodeForKey(uint16_t linuxKey);

}  // namespace vorlix::evdev
