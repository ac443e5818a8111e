#pragma once

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "tools/testserver/ServerOptions.h"

namespace vorlix::testserver {

// One channel message: header {MsgLength, MsgType}, then `payload`.
std::string ChannelMessage(uint16_t type, std::string_view payload = {});
// Little-endian 32-bit words, which is what every payload of the agent is made of.
std::string Words(std::initializer_list<uint32_t> words);
// The broken message of --malformed: a header whose MsgLength no receiver may accept.
std::string MalformedMessage(Malformed kind);

struct CursorPosition {
  uint32_t sequence = 0;
  int32_t x = 0;
  int32_t y = 0;
};

// The sequence number and the client's cursor position of a mouse chInput; nothing for any other
// message, keyboard input and a chInput of the wrong size.
std::optional<CursorPosition> MousePosition(std::string_view message);
// The chCursorState that answers a mouse chInput.
std::string CursorState(const CursorPosition& position, bool redraw);

}  // namespace vorlix::testserver
