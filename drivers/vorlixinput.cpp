// vorlixinput: plugs, unplugs and drives the virtual devices of the input service, and shows the
// operator's views of the devices.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "drivers/OperatorViews.h"
#include "drivers/UsLayout.h"
#include "drivers/evdev/RawRecords.h"
#include "platform/devices/FrameSocket.h"

namespace {

namespace protocol = vorlix::platform::input_protocol;
using KeyboardRecord = vorlix::evdev::RawKeyboardRecord;
using MouseRecord = vorlix::evdev::RawMouseRecord;

constexpr const char* kUsage =
    "usage: vorlixinput plug keyboard|mouse NAME [--ps2] | unplug NAME |"
    " key NAME SCANCODE [--e0] [--up] | type NAME TEXT | pause NAME | move NAME DX DY |"
    " button NAME 1-5 down|up | wheel NAME DELTA | devices | watch keyboard|mouse ID";

int Fail(const std::string& message) {
  std::fprintf(stderr, "vorlixinput: %s\n", message.c_str());
  return 1;
}

int Send(uint32_t op, const std::string& payload) {
  vorlix::platform::Handle socket;
  if (vorlix::platform::ConnectToInputService(socket) != 0) {
    return Fail("the input service is not running");
  }
  const uint32_t result = vorlix::platform::Transact(socket.Get(), op, payload.data(),
                                                     static_cast<uint32_t>(payload.size()));
  return result == 0 ? 0 : Fail("the input service refused (error " + std::to_string(result) + ")");
}

std::string Header(protocol::Kind kind, char flag, const std::string& name) {
  return std::string(1, static_cast<char>(kind)) + flag + name;
}

// The name travels with a one-byte length.
template <typename Record>
int SendRecords(protocol::Kind kind, const std::string& name, const std::vector<Record>& records) {
  if (name.size() > 255) return Fail("device name too long");
  std::string payload = Header(kind, static_cast<char>(name.size()), name);
  payload.append(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(Record));
  if (payload.size() > protocol::kMaxPayload) return Fail("too much input at once");
  return Send(protocol::kInput, payload);
}

bool ParseNumber(const char* text, long minimum, long maximum, long& out) {
  char* end = nullptr;
  out = std::strtol(text, &end, 0);
  return end != text && *end == '\0' && out >= minimum && out <= maximum;
}

KeyboardRecord Key(uint16_t scanCode, uint16_t flags) {
  KeyboardRecord record;
  record.makeCode = scanCode;
  record.flags = flags;
  return record;
}

int Plug(const std::vector<std::string>& args) {
  if (args.size() < 3 || args.size() > 4 || (args[1] != "keyboard" && args[1] != "mouse") ||
      (args.size() == 4 && args[3] != "--ps2")) {
    return Fail(kUsage);
  }
  const auto kind = args[1] == "mouse" ? protocol::kMouse : protocol::kKeyboard;
  return Send(protocol::kPlug, Header(kind, args.size() == 4 ? 1 : 0, args[2]));
}

int PressKey(const std::vector<std::string>& args) {
  long scanCode = 0;
  if (args.size() < 3 || !ParseNumber(args[2].c_str(), 0, 0xFFFF, scanCode)) return Fail(kUsage);
  uint16_t flags = 0;
  for (size_t i = 3; i < args.size(); ++i) {
    if (args[i] == "--e0") {
      flags |= vorlix::evdev::kKeyE0;
    } else if (args[i] == "--up") {
      flags |= vorlix::evdev::kKeyBreak;
    } else {
      return Fail(kUsage);
    }
  }
  return SendRecords(protocol::kKeyboard, args[1],
                     std::vector{Key(static_cast<uint16_t>(scanCode), flags)});
}

int Type(const std::string& name, const std::string& text) {
  using vorlix::drivers::kLeftShiftScanCode;
  using vorlix::evdev::kKeyBreak;
  std::vector<KeyboardRecord> records;
  for (const char c : text) {
    const auto stroke = vorlix::drivers::UsKeyFor(c);
    if (!stroke) return Fail(std::string("cannot type '") + c + "' on a US keyboard");
    if (stroke->shift) records.push_back(Key(kLeftShiftScanCode, 0));
    records.push_back(Key(stroke->scanCode, 0));
    records.push_back(Key(stroke->scanCode, kKeyBreak));
    if (stroke->shift) records.push_back(Key(kLeftShiftScanCode, kKeyBreak));
  }
  return SendRecords(protocol::kKeyboard, name, records);
}

// The set-1 press of Pause, E1 1D 45 E1 9D C5, as four records; E1 marks the first of each half.
int Pause(const std::string& name) {
  using vorlix::evdev::kKeyBreak;
  using vorlix::evdev::kKeyE1;
  return SendRecords(protocol::kKeyboard, name,
                     std::vector{Key(0x1D, kKeyE1), Key(0x45, 0), Key(0x1D, kKeyE1 | kKeyBreak),
                                 Key(0x45, kKeyBreak)});
}

int Move(const std::vector<std::string>& args) {
  long dx = 0;
  long dy = 0;
  if (args.size() != 4 || !ParseNumber(args[2].c_str(), INT32_MIN, INT32_MAX, dx) ||
      !ParseNumber(args[3].c_str(), INT32_MIN, INT32_MAX, dy)) {
    return Fail(kUsage);
  }
  MouseRecord record;
  record.lastX = static_cast<int32_t>(dx);
  record.lastY = static_cast<int32_t>(dy);
  return SendRecords(protocol::kMouse, args[1], std::vector{record});
}

// Buttons 1 to 5 are left, right, middle, 4 and 5, each with its down flag and, above it, up.
int Button(const std::vector<std::string>& args) {
  long button = 0;
  if (args.size() != 4 || !ParseNumber(args[2].c_str(), 1, 5, button) ||
      (args[3] != "down" && args[3] != "up")) {
    return Fail(kUsage);
  }
  MouseRecord record;
  record.buttonFlags = static_cast<uint16_t>((args[3] == "down" ? 1 : 2) << (2 * (button - 1)));
  return SendRecords(protocol::kMouse, args[1], std::vector{record});
}

int Wheel(const std::vector<std::string>& args) {
  long delta = 0;
  if (args.size() != 3 || !ParseNumber(args[2].c_str(), INT16_MIN, INT16_MAX, delta)) {
    return Fail(kUsage);
  }
  MouseRecord record;
  record.buttonFlags = vorlix::evdev::kMouseWheel;
  record.buttonData = static_cast<int16_t>(delta);
  return SendRecords(protocol::kMouse, args[1], std::vector{record});
}

int Watch(const std::vector<std::string>& args) {
  long id = 0;
  if (args.size() != 3 || (args[1] != "keyboard" && args[1] != "mouse") ||
      !ParseNumber(args[2].c_str(), 0, INT32_MAX, id)) {
    return Fail(kUsage);
  }
  return vorlix::RunWatch(args[1], static_cast<int>(id));
}

int Run(const std::vector<std::string>& args) {
  const std::string& command = args.empty() ? std::string() : args[0];
  if (command == "plug") return Plug(args);
  if (command == "unplug" && args.size() == 2) {
    return Send(protocol::kUnplug, Header(protocol::kKeyboard, 0, args[1]));
  }
  if (command == "key") return PressKey(args);
  if (command == "type" && args.size() == 3) return Type(args[1], args[2]);
  if (command == "pause" && args.size() == 2) return Pause(args[1]);
  if (command == "move") return Move(args);
  if (command == "button") return Button(args);
  if (command == "wheel") return Wheel(args);
  if (command == "devices" && args.size() == 1) return vorlix::RunDevicesView();
  if (command == "watch") return Watch(args);
  return Fail(kUsage);
}

}  // namespace

int main(int argc, char** argv) { return Run(std::vector<std::string>(argv + 1, argv + argc)); }
