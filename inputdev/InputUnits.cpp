#include "inputdev/InputUnits.h"

#include <bit>
#include <cstring>

namespace vorlix {

// Fields are copied as host integers; the layouts are little-endian.
static_assert(std::endian::native == std::endian::little);

namespace {

template <typename T>
void Put(uint8_t* at, uint32_t offset, T value) {
  std::memcpy(at + offset, &value, sizeof value);
}

struct ButtonRule {
  uint16_t rawFlag;
  uint32_t unitFlag;
  bool setsData;
  uint32_t data;
};

// Tested in this order; a later rule's mouse data wins.
constexpr ButtonRule kButtonRules[] = {
    {0x0001, 0x0002, false, 0}, {0x0002, 0x0004, false, 0}, {0x0004, 0x0008, false, 0},
    {0x0008, 0x0010, false, 0}, {0x0010, 0x0020, false, 0}, {0x0020, 0x0040, false, 0},
    {0x0040, 0x0080, true, 1},  {0x0080, 0x0100, true, 1},  {0x0100, 0x0080, true, 2},
    {0x0200, 0x0100, true, 2},
};
constexpr uint16_t kRawWheel = 0x0400;

}  // namespace

void MouseRecordToUnit(const uint8_t* record, uint8_t* unit) {
  const auto buttons = ReadField<uint16_t>(record, 4);
  const auto wheel = ReadField<int16_t>(record, 6);
  const auto dx = ReadField<int32_t>(record, 12);
  const auto dy = ReadField<int32_t>(record, 16);
  const auto extra = ReadField<uint32_t>(record, 20);

  uint32_t flags = (dx != 0 || dy != 0) ? MOUSEEVENTF_MOVE : 0;
  uint32_t data = 0;
  for (const ButtonRule& rule : kButtonRules) {
    if (!(buttons & rule.rawFlag)) continue;
    flags |= rule.unitFlag;
    if (rule.setsData) data = rule.data;
  }
  if (buttons & kRawWheel) {
    flags |= MOUSEEVENTF_WHEEL;
    data = static_cast<uint32_t>(static_cast<int32_t>(wheel));
  }

  std::memset(unit, 0, kUnitSize);
  Put(unit, kUnitType, kUnitTypeMouse);
  Put(unit, kMouseDx, dx);
  Put(unit, kMouseDy, dy);
  Put(unit, kMouseData, data);
  Put(unit, kMouseFlags, flags);
  Put(unit, kMouseExtra, extra);
}

void KeyboardRecordToUnit(const uint8_t* record, uint8_t* unit) {
  const auto makeCode = ReadField<uint16_t>(record, 2);
  const auto rawFlags = ReadField<uint16_t>(record, kRawKeyFlags);
  const auto extra = ReadField<uint32_t>(record, 8);

  uint16_t vk = 0;
  uint16_t scan = 0;
  uint32_t flags = 0;
  // A Pause unit is never a key release: its break bit is not looked at.
  if (rawFlags & KEY_E1) {
    vk = VK_PAUSE;
  } else {
    scan = makeCode;
    flags = KEYEVENTF_SCANCODE;
    if (rawFlags & KEY_E0) flags |= KEYEVENTF_EXTENDEDKEY;
    if (rawFlags & KEY_BREAK) flags |= KEYEVENTF_KEYUP;
  }

  std::memset(unit, 0, kUnitSize);
  Put(unit, kUnitType, kUnitTypeKeyboard);
  Put(unit, kKeyVk, vk);
  Put(unit, kKeyScan, scan);
  Put(unit, kKeyFlags, flags);
  Put(unit, kKeyExtra, extra);
}

}  // namespace vorlix
