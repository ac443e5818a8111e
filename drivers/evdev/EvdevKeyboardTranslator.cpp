#include "drivers/evdev/EvdevKeyboardTranslator.h"

#include "drivers/evdev/ScanCodeTable.h"

namespace vorlix::evdev {

size_t EvdevKeyboardTranslator::Feed(const input_event& event, Records out) {
  if (event.type == EV_SYN) {
    if (event.code == SYN_DROPPED) dropping_ = true;
    if (event.code == SYN_REPORT) dropping_ = false;
    return 0;
  }
  if (event.type != EV_KEY || dropping_) return 0;
  return WriteKey(event, out);
}

size_t EvdevKeyboardTranslator::WriteKey(const input_event& event, Records out) {
  // Value 2 is the kernel's autorepeat; a keyboard repeats the make code.
  const bool press = event.value != 0;
  if (event.code == KEY_PAUSE) return press ? WritePause(out) : 0;
  const auto scan = ScanCodeForKey(event.code);
  if (!scan) return 0;
  uint16_t flags = press ? 0 : kKeyBreak;
  if (scan->e0) flags |= kKeyE0;
  out[0] = RawKeyboardRecord{.makeCode = scan->make, .flags = flags};
  return 1;
}

// The key sends its make and break codes at once on press and nothing on release.
size_t EvdevKeyboardTranslator::WritePause(Records out) {
  out[0] = RawKeyboardRecord{.makeCode = 0x1D, .flags = kKeyE1};
  out[1] = RawKeyboardRecord{.makeCode = 0x45};
  out[2] = RawKeyboardRecord{.makeCode = 0x1D, .flags = kKeyE1 | kKeyBreak};
  out[3] = RawKeyboardRecord{.makeCode = 0x45, .flags = kKeyBreak};
  return kMaxRecords;
}

}  // namespace vorlix::evdev
