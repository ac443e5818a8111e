#include "drivers/evdev/EvdevMouseTranslator.h"

#include <algorithm>
#include <limits>

namespace vorlix::evdev {
namespace {

constexpr int32_t kWheelDelta = 120;

struct ButtonFlags {
  uint16_t code;
  uint16_t down;
  uint16_t up;
};

// BTN_BACK and BTN_FORWARD are what some mice send for their side buttons.
constexpr ButtonFlags kButtons[] = {
    {BTN_LEFT, kMouseLeftDown, kMouseLeftUp},
    {BTN_RIGHT, kMouseRightDown, kMouseRightUp},
    {BTN_MIDDLE, kMouseMiddleDown, kMouseMiddleUp},
    {BTN_SIDE, kMouseButton4Down, kMouseButton4Up},
    {BTN_BACK, kMouseButton4Down, kMouseButton4Up},
    {BTN_EXTRA, kMouseButton5Down, kMouseButton5Up},
    {BTN_FORWARD, kMouseButton5Down, kMouseButton5Up},
};

int16_t ClampToInt16(int32_t value) {
  return static_cast<int16_t>(std::clamp<int32_t>(value, std::numeric_limits<int16_t>::min(),
                                                  std::numeric_limits<int16_t>::max()));
}

}  // namespace

bool EvdevMouseTranslator::Feed(const input_event& event, RawMouseRecord& out) {
  if (event.type == EV_SYN && event.code == SYN_DROPPED) {
    Reset();
    dropping_ = true;
    return false;
  }
  if (event.type == EV_SYN && event.code == SYN_REPORT) {
    const bool wasDropping = dropping_;
    dropping_ = false;
    return !wasDropping && FinishReport(out);
  }
  if (dropping_) return false;
  if (event.type == EV_REL) FeedRelative(event);
  if (event.type == EV_KEY) FeedButton(event);
  return false;
}

void EvdevMouseTranslator::FeedRelative(const input_event& event) {
  switch (event.code) {
    case REL_X:
      dx_ += event.value;
      break;
    case REL_Y:
      dy_ += event.value;
      break;
    case REL_WHEEL:
      wheelNotches_ += event.value;
      break;
    case REL_WHEEL_HI_RES:
      sendsHiResWheel_ = true;
      wheelHiRes_ += event.value;
      break;
  }
}

void EvdevMouseTranslator::FeedButton(const input_event& event) {
  for (const ButtonFlags& button : kButtons) {
    if (button.code != event.code) continue;
    if (event.value == 1) buttonFlags_ |= button.down;
    if (event.value == 0) buttonFlags_ |= button.up;
  }
}

bool EvdevMouseTranslator::FinishReport(RawMouseRecord& out) {
  const int32_t wheel = sendsHiResWheel_ ? wheelHiRes_ : wheelNotches_ * kWheelDelta;
  uint16_t buttonFlags = buttonFlags_;
  if (wheel != 0) buttonFlags |= kMouseWheel;
  const bool any = dx_ != 0 || dy_ != 0 || buttonFlags != 0;
  if (any) {
    out = RawMouseRecord{
        .buttonFlags = buttonFlags, .buttonData = ClampToInt16(wheel), .lastX = dx_, .lastY = dy_};
  }
  Reset();
  return any;
}

void EvdevMouseTranslator::Reset() {
  dx_ = 0;
  dy_ = 0;
  wheelNotches_ = 0;
  wheelHiRes_ = 0;
  buttonFlags_ = 0;
}

}  // namespace vorlix::evdev
