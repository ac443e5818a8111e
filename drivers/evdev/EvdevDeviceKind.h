#pragma once

#include <linux/input.h>

#include <bitset>
#include <cstdint>

namespace vorlix::evdev {

// What a device node says it can send, as far as telling keyboards and mice apart needs.
struct EvdevCapabilities {
  uint16_t busType = 0;
  std::bitset<KEY_CNT> keys;
  std::bitset<REL_CNT> relatives;
};

// Letters and Enter: media-key pads, power buttons and the like are not keyboards.
bool IsKeyboard(const EvdevCapabilities& caps);

// Relative X and Y with a left button; touchpads and tablets report absolute positions only.
bool IsMouse(const EvdevCapabilities& caps);

// USB and Bluetooth devices are HID devices and get a HID device path; others (PS/2) do not.
bool IsHid(const EvdevCapabilities& caps);

}  // namespace vorlix::evdev
