#include "drivers/EvdevPump.h"

#include <array>
#include <span>
#include <utility>

#include "drivers/evdev/EvdevDevice.h"

namespace vorlix::drivers {

using Kind = InterfaceRegistry::Kind;

EvdevPump::EvdevPump(DeviceHub& hub, int fd, std::string keyboardName, std::string mouseName)
    : hub_(hub),
      fd_(fd),
      keyboardName_(std::move(keyboardName)),
      mouseName_(std::move(mouseName)) {}

uint32_t EvdevPump::Plug(bool ps2) {
  if (!keyboardName_.empty()) {
    if (const uint32_t r = hub_.Plug(Kind::kKeyboard, keyboardName_, ps2); r != 0) return r;
  }
  if (!mouseName_.empty()) {
    if (const uint32_t r = hub_.Plug(Kind::kMouse, mouseName_, ps2); r != 0) {
      if (!keyboardName_.empty()) hub_.Unplug(keyboardName_);
      return r;
    }
  }
  return 0;
}

void EvdevPump::Unplug() {
  if (!keyboardName_.empty()) hub_.Unplug(keyboardName_);
  if (!mouseName_.empty()) hub_.Unplug(mouseName_);
}

bool EvdevPump::Drain(bool hungUp) {
  std::array<input_event, kBatch> events;
  for (;;) {
    const ssize_t count = evdev::ReadInputEvents(fd_, events);
    if (count < 0) break;
    Translate(events.data(), static_cast<size_t>(count));
    if (static_cast<size_t>(count) < kBatch) {
      if (!hungUp) return true;
      break;
    }
  }
  Unplug();
  return false;
}

void EvdevPump::Translate(const input_event* events, size_t count) {
  using Keys = evdev::EvdevKeyboardTranslator;
  std::array<evdev::RawKeyboardRecord, kBatch * Keys::kMaxRecords> keys;
  std::array<evdev::RawMouseRecord, kBatch> moves;
  size_t keyCount = 0;
  size_t moveCount = 0;
  for (size_t i = 0; i < count; ++i) {
    if (!keyboardName_.empty()) {
      keyCount +=
          keyboard_.Feed(events[i], Keys::Records(keys.data() + keyCount, Keys::kMaxRecords));
    }
    if (!mouseName_.empty() && mouse_.Feed(events[i], moves[moveCount])) ++moveCount;
  }
  if (keyCount != 0)
    hub_.Queue(Kind::kKeyboard, keyboardName_, keys.data(), static_cast<uint32_t>(keyCount));
  if (moveCount != 0)
    hub_.Queue(Kind::kMouse, mouseName_, moves.data(), static_cast<uint32_t>(moveCount));
}

}  // namespace vorlix::drivers
