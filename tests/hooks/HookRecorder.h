#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/display/HookHost.h"

namespace vorlix::test {

// One call of a test hook procedure.
struct HookCall {
  int code = 0;
  uintptr_t wParam = 0;
  platform::MSLLHOOKSTRUCT mouse{};
  platform::KBDLLHOOKSTRUCT keyboard{};
  int order = 0;  // counts the calls of all recorders
};

inline int NextCallOrder() {
  static int order = 0;
  return ++order;
}

// A hook procedure that records its calls and passes them on or not. Procedures are plain
// functions, so each recorder is a template instance with static state.
template <int Slot>
class HookRecorder {
 public:
  static void Reset(int kind, bool passOn = true) {
    kind_ = kind;
    passOn_ = passOn;
    calls_.clear();
  }

  static intptr_t Proc(int code, uintptr_t wParam, intptr_t lParam) {
    HookCall call{code, wParam};
    if (kind_ == platform::WH_MOUSE_LL) {
      call.mouse = *reinterpret_cast<const platform::MSLLHOOKSTRUCT*>(lParam);
    } else if (kind_ == platform::WH_KEYBOARD_LL) {
      call.keyboard = *reinterpret_cast<const platform::KBDLLHOOKSTRUCT*>(lParam);
    }
    call.order = NextCallOrder();
    calls_.push_back(call);
    return passOn_ ? platform::CallNextHookEx(nullptr, code, wParam, lParam) : 0;
  }

  static const std::vector<HookCall>& Calls() { return calls_; }

  // The first call with this wParam, or null.
  static const HookCall* Find(uintptr_t wParam) {
    const auto it = std::find_if(calls_.begin(), calls_.end(),
                                 [wParam](const HookCall& c) { return c.wParam == wParam; });
    return it == calls_.end() ? nullptr : &*it;
  }

 private:
  static inline int kind_ = 0;
  static inline bool passOn_ = true;
  static inline std::vector<HookCall> calls_;
};

}  // namespace vorlix::test
