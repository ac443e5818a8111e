#include "drivers/evdev/EvdevDeviceKind.h"

#include <gtest/gtest.h>

#include <vector>

namespace vorlix::evdev {
namespace {

struct KindCase {
  const char* name;
  uint16_t bus;
  std::vector<int> keys;
  std::vector<int> relatives;
  bool keyboard;
  bool mouse;
  bool hid;
};

EvdevCapabilities Describe(const KindCase& c) {
  EvdevCapabilities caps;
  caps.busType = c.bus;
  for (int key : c.keys) caps.keys.set(key);
  for (int rel : c.relatives) caps.relatives.set(rel);
  return caps;
}

const std::vector<int> kTypingKeys = {KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y,    KEY_U,
                                      KEY_I, KEY_O, KEY_P, KEY_A, KEY_S, KEY_D,    KEY_F,
                                      KEY_G, KEY_H, KEY_J, KEY_K, KEY_L, KEY_Z,    KEY_X,
                                      KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_ENTER};
const std::vector<int> kTypingKeysButZ = {
    KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y, KEY_U, KEY_I, KEY_O, KEY_P, KEY_A, KEY_S, KEY_D,
    KEY_F, KEY_G, KEY_H, KEY_J, KEY_K, KEY_L, KEY_X, KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_ENTER};

class DeviceKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(DeviceKindTest, ToldApartByCapabilities) {
  const EvdevCapabilities caps = Describe(GetParam());
  EXPECT_EQ(IsKeyboard(caps), GetParam().keyboard);
  EXPECT_EQ(IsMouse(caps), GetParam().mouse);
  EXPECT_EQ(IsHid(caps), GetParam().hid);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DeviceKindTest,
    ::testing::Values(
        KindCase{"UsbKeyboard", BUS_USB, kTypingKeys, {}, true, false, true},
        KindCase{"Ps2Keyboard", BUS_I8042, kTypingKeys, {}, true, false, false},
        KindCase{"KeysMissingALetter", BUS_USB, kTypingKeysButZ, {}, false, false, true},
        KindCase{
            "MediaKeysOnly", BUS_USB, {KEY_VOLUMEUP, KEY_MUTE, KEY_ENTER}, {}, false, false, true},
        KindCase{"UsbMouse",
                 BUS_USB,
                 {BTN_LEFT, BTN_RIGHT},
                 {REL_X, REL_Y, REL_WHEEL},
                 false,
                 true,
                 true},
        KindCase{"BluetoothMouse", BUS_BLUETOOTH, {BTN_LEFT}, {REL_X, REL_Y}, false, true, true},
        KindCase{"Ps2Mouse", BUS_I8042, {BTN_LEFT}, {REL_X, REL_Y}, false, true, false},
        KindCase{
            "MotionWithoutLeftButton", BUS_USB, {BTN_RIGHT}, {REL_X, REL_Y}, false, false, true},
        KindCase{"TouchpadReportsAbsolutePositions",
                 BUS_I8042,
                 {BTN_LEFT, BTN_TOUCH},
                 {},
                 false,
                 false,
                 false},
        KindCase{"KeyboardWithPointer",
                 BUS_USB,
                 {KEY_Q, KEY_W, KEY_E, KEY_R, KEY_T, KEY_Y, KEY_U,     KEY_I,   KEY_O, KEY_P,
                  KEY_A, KEY_S, KEY_D, KEY_F, KEY_G, KEY_H, KEY_J,     KEY_K,   KEY_L, KEY_Z,
                  KEY_X, KEY_C, KEY_V, KEY_B, KEY_N, KEY_M, KEY_ENTER, BTN_LEFT},
                 {REL_X, REL_Y},
                 true,
                 true,
                 true}),
    [](const auto& test) { return test.param.name; });

}  // namespace
}  // namespace vorlix::evdev
