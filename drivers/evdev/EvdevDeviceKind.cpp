#include "drivers/evdev/EvdevDeviceKind.h"

#include <algorithm>
#include <array>

namespace vorlix::evdev {

bool IsKeyboard(const EvdevCapabilities& caps) {
  // Key codes are in keyboard order, not alphabetical.
  constexpr std::array kLetters = {KEY_A, KEY_B, KEY_C, KEY_D, KEY_E, KEY_F, KEY_G, KEY_H, KEY_I,
                                   KEY_J, KEY_K, KEY_L, KEY_M, KEY_N, KEY_O, KEY_P, KEY_Q, KEY_R,
                                   KEY_S, KEY_T, KEY_U, KEY_V, KEY_W, KEY_X, KEY_Y, KEY_Z};
  return caps.keys.test(KEY_ENTER) &&
         std::ranges::all_of(kLetters, [&](int key) { return caps.keys.test(key); });
}

bool IsMouse(const EvdevCapabilities& caps) {
  return caps.relatives.test(REL_X) && caps.relatives.test(REL_Y) && caps.keys.test(BTN_LEFT);
}

bool IsHid(const EvdevCapabilities& caps) {
  return caps.busType == BUS_USB || caps.busType == BUS_BLUETOOTH;
}

}  // namespace vorlix::evdev
