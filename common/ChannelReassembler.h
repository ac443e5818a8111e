#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string_view>

#include "common/ChannelProtocol.h"

namespace vorlix {

// Cuts the deliveries of a channel into whole messages, in order, for the peers and tools that
// watch the channel. A delivery may end inside a message; the rest waits for the next one. A
// header whose MsgLength is below 4 or above kReassemblySize is malformed: that message and the
// rest of its delivery are dropped (there is no way to find the next header) and counted.
class ChannelReassembler {
 public:
  using MessageHandler = std::function<void(std::string_view message)>;

  explicit ChannelReassembler(MessageHandler onMessage) : onMessage_(std::move(onMessage)) {}

  void Deliver(std::string_view bytes);
  // Forgets a partial message, e.g. when the connection ends.
  void Reset() { held_ = 0; }
  size_t Held() const { return held_; }
  uint64_t Malformed() const { return malformed_; }

 private:
  // Moves bytes into the buffer until it holds at least `target` bytes; false when the delivery
  // ran out first.
  bool Fill(std::string_view& bytes, size_t target);
  bool IsValidLength(size_t length);

  MessageHandler onMessage_;
  std::array<char, kReassemblySize> buffer_{};
  size_t held_ = 0;
  uint64_t malformed_ = 0;
};

// MsgLength and MsgType of a message that holds at least its header.
uint16_t MessageLength(std::string_view message);
uint16_t MessageType(std::string_view message);

}  // namespace vorlix
