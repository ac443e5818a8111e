#include "common/ChannelMessageText.h"

#include "common/ChannelReassembler.h"

namespace vorlix {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string FormatChannelMessage(std::string_view message) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text = "type=" + std::to_string(MessageType(message)) +
                     " len=" + std::to_string(MessageLength(message)) + " ";
  for (const char byte : message) {
    text += kDigits[static_cast<uint8_t>(byte) >> 4];
    text += kDigits[static_cast<uint8_t>(byte) & 0xF];
  }
  return text;
}

std::optional<std::string> ParseHex(std::string_view text) {
  std::string bytes;
  int high = -1;
  for (const char c : text) {
    if (c == ' ' && high < 0) continue;
    const int digit = HexDigit(c);
    if (digit < 0) return std::nullopt;
    if (high < 0) {
      high = digit;
    } else {
      bytes += static_cast<char>(high << 4 | digit);
      high = -1;
    }
  }
  if (high >= 0) return std::nullopt;
  return bytes;
}

}  // namespace vorlix
