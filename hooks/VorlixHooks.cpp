#include "hooks/VorlixHooks.h"

#include "platform/display/HookHost.h"
#include "platform/display/PointerBarriers.h"

// Exported as "_TSCBTProc@12" and so on, the names the manager looks the procedures up by. The
// linker cannot write an '@' in a name, so the library is linked with these stand-ins, which
// vorlix-exportnames renames afterwards.
extern "C" __attribute__((visibility("default"))) intptr_t TSCBTProc(
    int, uintptr_t, intptr_t) __asm__("_TSCBTProc_12");
extern "C" __attribute__((visibility("default"))) intptr_t TSLowLevelMouseProc(
    int, uintptr_t, intptr_t) __asm__("_TSLowLevelMouseProc_12");
extern "C" __attribute__((visibility("default"))) intptr_t TSLowLevelKbdProc(
    int, uintptr_t, intptr_t) __asm__("_TSLowLevelKbdProc_12");

namespace {

vorlix::platform::PointerBarriers barriers;

intptr_t PassOn(int code, uintptr_t wParam, intptr_t lParam) {
  return vorlix::platform::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

void TSSetClipCur(uint32_t sides, const vorlix::platform::Rect* rect) {
  if (sides == 0 || rect == nullptr) {
    barriers.Lower();
  } else {
    barriers.Raise(sides, *rect);
  }
}

intptr_t TSCBTProc(int code, uintptr_t wParam, intptr_t lParam) {
  return PassOn(code, wParam, lParam);
}

intptr_t TSLowLevelMouseProc(int code, uintptr_t wParam, intptr_t lParam) {
  return PassOn(code, wParam, lParam);
}

intptr_t TSLowLevelKbdProc(int code, uintptr_t wParam, intptr_t lParam) {
  return PassOn(code, wParam, lParam);
}
