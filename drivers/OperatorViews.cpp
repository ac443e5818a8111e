#include "drivers/OperatorViews.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "inputdev/TZephKbd.h"
#include "inputdev/TZephKbdMgr.h"
#include "inputdev/TZephMou.h"
#include "inputdev/TZephMouMgr.h"

namespace vorlix {

namespace {

constexpr uint32_t kUnitsPerRead = 56;

template <typename T>
T Field(const uint8_t* unit, uint32_t offset) {
  T value;
  std::memcpy(&value, unit + offset, sizeof value);
  return value;
}

void PrintDevices(const char* kind, const std::vector<InpDevInfo>& devices) {
  for (const InpDevInfo& device : devices) {
    std::printf("%s\t%" PRId32 "\t%d\t%s\n", kind, device.Id, device.Present ? 1 : 0,
                device.Path.c_str());
  }
}

void PrintUnit(const uint8_t* unit) {
  if (Field<uint32_t>(unit, kUnitType) == kUnitTypeKeyboard) {
    std::printf("type=1 vk=0x%x scan=0x%x flags=0x%x extra=0x%x\n", Field<uint16_t>(unit, kKeyVk),
                Field<uint16_t>(unit, kKeyScan), Field<uint32_t>(unit, kKeyFlags),
                Field<uint32_t>(unit, kKeyExtra));
  } else {
    std::printf("type=0 dx=%" PRId32 " dy=%" PRId32 " data=0x%x flags=0x%x extra=0x%x\n",
                Field<int32_t>(unit, kMouseDx), Field<int32_t>(unit, kMouseDy),
                Field<uint32_t>(unit, kMouseData), Field<uint32_t>(unit, kMouseFlags),
                Field<uint32_t>(unit, kMouseExtra));
  }
  std::fflush(stdout);
}

// Waits on an event of our own, reset before each read as the input thread does, so that
// nothing depends on whether the service resets it.
template <typename Handle>
int Watch(const char* kind, int id) {
  Handle device;
  uint32_t error = device.OpenById(id);
  if (error != 0) {
    std::fprintf(stderr, "cannot open %s %d: error %" PRIu32 "\n", kind, id, error);
    return 1;
  }
  platform::Event arrived(platform::Event::Reset::Manual);
  error = device.AttachEvent(&arrived);
  if (error != 0) {
    std::fprintf(stderr, "cannot attach an event to %s %d: error %" PRIu32 "\n", kind, id, error);
    return 1;
  }
  uint8_t units[kUnitsPerRead * kUnitSize];
  const platform::Event* events[] = {&arrived};
  for (;;) {
    if (platform::WaitAny(events, platform::kInfinite) != 0) {
      std::fprintf(stderr, "waiting for %s %d failed\n", kind, id);
      return 1;
    }
    arrived.ResetEvent();
    // One signal may stand for more units than one read holds.
    uint32_t count = 0;
    do {
      error = device.Read(kUnitsPerRead, units, 0, count);
      if (error != 0) {
        std::fprintf(stderr, "reading %s %d failed: error %" PRIu32 "\n", kind, id, error);
        return 1;
      }
      for (uint32_t k = 0; k < count; ++k) PrintUnit(units + k * kUnitSize);
    } while (count == kUnitsPerRead);
  }
}

}  // namespace

int RunDevicesView() {
  PrintDevices("keyboard", TZephKbdMgr().GetDeviceList());
  PrintDevices("mouse", TZephMouMgr().GetDeviceList());
  std::fflush(stdout);
  return 0;
}

int RunWatch(const std::string& kind, int id) {
  if (kind == "keyboard") return Watch<TZephKbd>("keyboard", id);
  if (kind == "mouse") return Watch<TZephMou>("mouse", id);
  std::fprintf(stderr, "unknown device kind '%s': keyboard or mouse\n", kind.c_str());
  return 2;
}

}  // namespace vorlix
