#include "drivers/EvdevDeviceName.h"

#include <algorithm>

namespace vorlix::drivers {

namespace {

constexpr size_t kMaxName = 64;

char Plain(char c) {
  const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                     c == '_' || c == '-' || c == '.';
  return plain ? c : '_';
}

std::string Identity(const std::string& phys, const std::string& uniq, const std::string& node) {
  if (phys.empty() && uniq.empty()) return node;
  if (phys.empty() || uniq.empty()) return phys + uniq;
  return phys + "-" + uniq;
}

}  // namespace

std::string EvdevDeviceName(const std::string& phys, const std::string& uniq,
                            const std::string& node, InterfaceRegistry::Kind kind) {
  const std::string suffix = kind == InterfaceRegistry::Kind::kMouse ? ".mouse" : ".kbd";
  std::string name = "evdev-" + Identity(phys, uniq, node);
  std::ranges::transform(name, name.begin(), Plain);
  name.resize(std::min(name.size(), kMaxName - suffix.size()));
  return name + suffix;
}

}  // namespace vorlix::drivers
