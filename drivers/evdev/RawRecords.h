#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <type_traits>

// The records the input service queues for a device handle, byte for byte as a reader sees them.
namespace vorlix::evdev {

static_assert(std::endian::native == std::endian::little, "records are little-endian in memory");

struct RawMouseRecord {
  uint16_t unit = 0;
  uint16_t flags = 0;  // 0: relative motion
  uint16_t buttonFlags = 0;
  int16_t buttonData = 0;  // wheel delta, 120 per notch, when kMouseWheel is set
  uint32_t rawButtons = 0;
  int32_t lastX = 0;
  int32_t lastY = 0;
  uint32_t extra = 0;
};
static_assert(sizeof(RawMouseRecord) == 24);
static_assert(std::is_trivially_copyable_v<RawMouseRecord>);
static_assert(offsetof(RawMouseRecord, lastX) == 12 && offsetof(RawMouseRecord, extra) == 20);

struct RawKeyboardRecord {
  uint16_t unit = 0;
  uint16_t makeCode = 0;  // PC set-1 scan code
  uint16_t flags = 0;
  uint16_t reserved = 0;
  uint32_t extra = 0;
};
static_assert(sizeof(RawKeyboardRecord) == 12);
static_assert(std::is_trivially_copyable_v<RawKeyboardRecord>);
static_assert(offsetof(RawKeyboardRecord, flags) == 4 && offsetof(RawKeyboardRecord, extra) == 8);

// RawKeyboardRecord::flags
inline constexpr uint16_t kKeyBreak = 0x0001;
inline constexpr uint16_t kKeyE0 = 0x0002;
inline constexpr uint16_t kKeyE1 = 0x0004;

// RawMouseRecord::buttonFlags
inline constexpr uint16_t kMouseLeftDown = 0x0001;
inline constexpr uint16_t kMouseLeftUp = 0x0002;
inline constexpr uint16_t kMouseRightDown = 0x0004;
inline constexpr uint16_t kMouseRightUp = 0x0008;
inline constexpr uint16_t kMouseMiddleDown = 0x0010;
inline constexpr uint16_t kMouseMiddleUp = 0x0020;
inline constexpr uint16_t kMouseButton4Down = 0x0040;
inline constexpr uint16_t kMouseButton4Up = 0x0080;
inline constexpr uint16_t kMouseButton5Down = 0x0100;
inline constexpr uint16_t kMouseButton5Up = 0x0200;
inline constexpr uint16_t kMouseWheel = 0x0400;

}  // namespace vorlix::evdev
