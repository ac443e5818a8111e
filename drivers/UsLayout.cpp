#include "drivers/UsLayout.h"

#include <string_view>

namespace vorlix::drivers {

namespace {

struct Row {
  uint16_t firstScanCode;
  std::string_view plain;
  std::string_view shifted;
};

// Runs of keys with consecutive scan codes.
constexpr Row kRows[] = {
    {0x02, "1234567890-=", "!@#$%^&*()_+"},
    {0x0F, "\t", ""},
    {0x10, "qwertyuiop[]", "QWERTYUIOP{}"},
    {0x1C, "\n", ""},
    {0x1E, "asdfghjkl;'`", "ASDFGHJKL:\"~"},
    {0x2B, "\\zxcvbnm,./", "|ZXCVBNM<>?"},
    {0x39, " ", ""},
};

}  // namespace

std::optional<KeyStroke> UsKeyFor(char c) {
  for (const Row& row : kRows) {
    if (const auto at = row.plain.find(c); at != std::string_view::npos) {
      return KeyStroke{static_cast<uint16_t>(row.firstScanCode + at), false};
    }
    if (const auto at = row.shifted.find(c); at != std::string_view::npos) {
      return KeyStroke{static_cast<uint16_t>(row.firstScanCode + at), true};
    }
  }
  return std::nullopt;
}

}  // namespace vorlix::drivers
