#pragma once

#include <cstdint>
#include <string>

#include "platform/system/MachinePaths.h"

// The wire between DeviceFile, vorlixinput and the input service vorlixinputd: a Unix stream
// socket at RuntimeDir()/inputd.sock carrying frames of an 8-byte header and at most kMaxPayload
// bytes. Every request gets one reply frame whose code is 0 or a platform error number; a frame
// that breaks the bounds gets 13 and the connection is dropped. Descriptors travel with
// SCM_RIGHTS on the first byte of a frame.
namespace vorlix::platform::input_protocol {

enum Op : uint32_t {
  kOpen = 1,      // payload: the open name; the reply carries the record size and the ring's memfd
  kSetEvent = 2,  // payload: 4 bytes, 0 withdraws; otherwise an eventfd travels along
  kSendWord = 3,  // payload: 2 bytes (keyboard only)
  kSetMode = 4,   // payload: 4 bytes, 1 bound or 2 free
  kPlug = 16,     // payload: kind, ps2 flag (one byte each), device name
  kUnplug = 17,   // payload: as kPlug, both bytes ignored
  kInput = 18,    // payload: kind, name length (one byte each), device name, whole records
};

enum Kind : uint8_t { kKeyboard = 0, kMouse = 1 };

struct FrameHeader {
  uint32_t code;
  uint32_t length;
};

inline constexpr uint32_t kMaxPayload = 4096;
// The open name with its terminating zero fits 256 bytes.
inline constexpr uint32_t kMaxOpenName = 255;

inline std::string SocketPath() { return RuntimeDir() + "/inputd.sock"; }

}  // namespace vorlix::platform::input_protocol
