#pragma once

#include <cstdint>

// The manager-client pipes: fixed 8-byte messages, little-endian, one pipe per direction.
// A request is {Command, Value}; its reply is {Command, Result}, the command echoed.
namespace vorlix {

struct PipeMsg {
  uint32_t Command = 0;
  uint32_t Value = 0;  // the request's argument; the reply's result
};
static_assert(sizeof(PipeMsg) == 8);

inline constexpr uint32_t CMD_SET_DEVICES = 1;
inline constexpr uint32_t CMD_CONNECT = 2;
inline constexpr uint32_t CMD_DISCONNECT = 3;
inline constexpr uint32_t CMD_SHOW_SELECTION = 4;
inline constexpr uint32_t CMD_HIDE_SELECTION = 6;
inline constexpr uint32_t CMD_GET_STATE = 7;
inline constexpr uint32_t CMD_PROMPT_LOGIN = 8;
inline constexpr uint32_t CMD_QUIT = 10;
inline constexpr uint32_t CMD_READY = 11;
inline constexpr uint32_t CMD_MOUSE_SYMBOLS = 12;
inline constexpr uint32_t CMD_MOUSE_BUTTONS = 13;
inline constexpr uint32_t CMD_REMOVE_MOUSE = 14;

// The manager waits this long for a reply, well above the longest client command (about 5 s),
// so that a client that lives on without answering cannot freeze it.
inline constexpr uint32_t kReplyTimeoutMs = 10000;

}  // namespace vorlix
