#pragma once

#include <linux/input.h>

#include <vector>

namespace vorlix::evdev::test {

// One recorded event: type, code, value.
struct Ev {
  uint16_t type;
  uint16_t code;
  int32_t value;
};

inline std::vector<input_event> Events(std::initializer_list<Ev> stream) {
  std::vector<input_event> events;
  for (const Ev& e : stream) {
    input_event event{};
    event.type = e.type;
    event.code = e.code;
    event.value = e.value;
    events.push_back(event);
  }
  return events;
}

inline constexpr Ev kSync{EV_SYN, SYN_REPORT, 0};
inline constexpr Ev kDropped{EV_SYN, SYN_DROPPED, 0};

}  // namespace vorlix::evdev::test
