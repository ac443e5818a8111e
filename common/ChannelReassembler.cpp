#include "common/ChannelReassembler.h"

#include <algorithm>
#include <cstring>

namespace vorlix {

namespace {

uint16_t ReadU16(std::string_view bytes, size_t offset) {
  return static_cast<uint16_t>(static_cast<uint8_t>(bytes[offset]) |
                               static_cast<uint8_t>(bytes[offset + 1]) << 8);
}

}  // namespace

uint16_t MessageLength(std::string_view message) { return ReadU16(message, 0); }
uint16_t MessageType(std::string_view message) { return ReadU16(message, 2); }

bool ChannelReassembler::IsValidLength(size_t length) {
  if (length >= kChannelHeaderSize && length <= kReassemblySize) return true;
  ++malformed_;
  held_ = 0;
  return false;
}

bool ChannelReassembler::Fill(std::string_view& bytes, size_t target) {
  if (held_ >= target) return true;
  const size_t take = std::min(target - held_, bytes.size());
  std::memcpy(buffer_.data() + held_, bytes.data(), take);
  held_ += take;
  bytes.remove_prefix(take);
  return held_ == target;
}

void ChannelReassembler::Deliver(std::string_view bytes) {
  if (held_ > 0) {
    if (!Fill(bytes, kChannelHeaderSize)) return;
    const std::string_view header(buffer_.data(), kChannelHeaderSize);
    if (!IsValidLength(MessageLength(header))) return;
    if (!Fill(bytes, MessageLength(header))) return;
    held_ = 0;
    onMessage_(std::string_view(buffer_.data(), MessageLength(header)));
  }
  while (bytes.size() >= kChannelHeaderSize) {
    const size_t length = MessageLength(bytes);
    if (!IsValidLength(length)) return;
    if (bytes.size() < length) break;
    onMessage_(bytes.substr(0, length));
    bytes.remove_prefix(length);
  }
  std::memcpy(buffer_.data(), bytes.data(), bytes.size());
  held_ = bytes.size();
}

}  // namespace vorlix
