#include "tools/testserver/AgentMessages.h"

#include "common/ChannelProtocol.h"
#include "common/ChannelReassembler.h"

namespace vorlix::testserver {

namespace {

// chInput: header, u32 sequence number, then the input units.
constexpr size_t kUnitsOffset = kChannelHeaderSize + 4;
constexpr uint32_t kMouseUnit = 0;
// Offsets inside a mouse unit.
constexpr size_t kUnitDx = 4;
constexpr size_t kUnitDy = 8;
constexpr size_t kUnitFlags = 16;

// The long malformed message: too long for any receiver to reassemble.
constexpr uint16_t kLongMalformedLength = 2000;
constexpr char kFiller = '\xEE';

void PutU16(std::string& out, uint16_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>(value >> 8);
}

void PutU32(std::string& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value & 0xFFFF));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

uint32_t ReadU32(std::string_view bytes, size_t offset) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) {
    value |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[offset + i])) << (8 * i);
  }
  return value;
}

std::string Header(uint16_t length, uint16_t type) {
  std::string header;
  PutU16(header, length);
  PutU16(header, type);
  return header;
}

}  // namespace

std::string ChannelMessage(uint16_t type, std::string_view payload) {
  return Header(static_cast<uint16_t>(kChannelHeaderSize + payload.size()), type) +
         std::string(payload);
}

std::string Words(std::initializer_list<uint32_t> words) {
  std::string out;
  for (const uint32_t word : words) PutU32(out, word);
  return out;
}

std::string MalformedMessage(Malformed kind) {
  // It claims to be a hello, so a receiver that takes it anyway shows a wrong session.
  if (kind == Malformed::kShort) return Header(2, chAgentHello);
  return Header(kLongMalformedLength, chAgentHello) +
         std::string(kLongMalformedLength - kChannelHeaderSize, kFiller);
}

std::optional<CursorPosition> MousePosition(std::string_view message) {
  if (MessageType(message) != chInput || message.size() < kUnitsOffset + kInputUnitSize) {
    return std::nullopt;
  }
  const size_t unitBytes = message.size() - kUnitsOffset;
  if (unitBytes % kInputUnitSize != 0 || unitBytes / kInputUnitSize > kMaxInputUnits) {
    return std::nullopt;
  }
  const std::string_view unit = message.substr(kUnitsOffset, kInputUnitSize);
  if (ReadU32(unit, 0) != kMouseUnit || (ReadU32(unit, kUnitFlags) & kPositionUnitFlags) == 0) {
    return std::nullopt;
  }
  return CursorPosition{ReadU32(message, kChannelHeaderSize),
                        static_cast<int32_t>(ReadU32(unit, kUnitDx)),
                        static_cast<int32_t>(ReadU32(unit, kUnitDy))};
}

std::string CursorState(const CursorPosition& position, bool redraw) {
  const uint32_t word = (static_cast<uint32_t>(position.x) & kCursorXMask) |
                        (static_cast<uint32_t>(position.y) & kCursorXMask) << kCursorYShift |
                        kCursorVisible | (redraw ? kCursorRedraw : 0);
  return ChannelMessage(chCursorState, Words({position.sequence, word}));
}

}  // namespace vorlix::testserver
