#pragma once

#include <cstdint>
#include <cstring>

// The drivers' raw records and the 28-byte input unit they become, all little-endian. The
// input unit is the platform's INPUT record as its input-injection function takes it.
namespace vorlix {

inline constexpr uint32_t kUnitSize = 28;
inline constexpr uint32_t kMouseRecordSize = 24;
inline constexpr uint32_t kKeyboardRecordSize = 12;

inline constexpr uint32_t kUnitTypeMouse = 0;
inline constexpr uint32_t kUnitTypeKeyboard = 1;

// Raw keyboard record flags.
inline constexpr uint16_t KEY_BREAK = 0x0001;
inline constexpr uint16_t KEY_E0 = 0x0002;
inline constexpr uint16_t KEY_E1 = 0x0004;

// Keyboard unit flags and the one virtual key a unit carries.
inline constexpr uint32_t KEYEVENTF_EXTENDEDKEY = 0x0001;
inline constexpr uint32_t KEYEVENTF_KEYUP = 0x0002;
inline constexpr uint32_t KEYEVENTF_SCANCODE = 0x0008;
inline constexpr uint16_t VK_PAUSE = 0x13;

// Mouse unit flags.
inline constexpr uint32_t MOUSEEVENTF_MOVE = 0x0001;
inline constexpr uint32_t MOUSEEVENTF_WHEEL = 0x0800;

// Byte offsets of the unit fields.
inline constexpr uint32_t kUnitType = 0;
inline constexpr uint32_t kMouseDx = 4;
inline constexpr uint32_t kMouseDy = 8;
inline constexpr uint32_t kMouseData = 12;
inline constexpr uint32_t kMouseFlags = 16;
inline constexpr uint32_t kMouseExtra = 24;
inline constexpr uint32_t kKeyVk = 4;
inline constexpr uint32_t kKeyScan = 6;
inline constexpr uint32_t kKeyFlags = 8;
inline constexpr uint32_t kKeyExtra = 16;

// Byte offset of the flags in a raw keyboard record.
inline constexpr uint32_t kRawKeyFlags = 4;

// A field of a unit or raw record at a byte offset, as a host integer (the layouts are
// little-endian, as the host).
template <typename T>
T ReadField(const uint8_t* at, uint32_t offset) {
  T value;
  std::memcpy(&value, at + offset, sizeof value);
  return value;
}

// Convert one raw record into one unit. The record is read completely before the unit is
// written, so the unit may overlap the record it comes from. Any thread; no allocation.
void MouseRecordToUnit(const uint8_t* record, uint8_t* unit);
void KeyboardRecordToUnit(const uint8_t* record, uint8_t* unit);

}  // namespace vorlix
