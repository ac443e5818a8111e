#include "platform/rdp/ServerAddress.h"

#include <charconv>

namespace vorlix::platform {

namespace {

std::optional<uint16_t> ParsePort(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) {
    return std::nullopt;
  }
  return static_cast<uint16_t>(value);
}

std::optional<ServerAddress> WithPort(std::string_view host, std::optional<std::string_view> port) {
  if (host.empty()) return std::nullopt;
  ServerAddress address{std::string(host), kRdpPort};
  if (!port) return address;
  const std::optional<uint16_t> number = ParsePort(*port);
  if (!number) return std::nullopt;
  address.port = *number;
  return address;
}

}  // namespace

std::optional<ServerAddress> ParseServerAddress(std::string_view server) {
  if (server.starts_with('[')) {
    const size_t close = server.find(']');
    if (close == std::string_view::npos) return std::nullopt;
    const std::string_view rest = server.substr(close + 1);
    if (rest.empty()) return WithPort(server.substr(1, close - 1), std::nullopt);
    if (!rest.starts_with(':')) return std::nullopt;
    return WithPort(server.substr(1, close - 1), rest.substr(1));
  }
  const size_t colon = server.find(':');
  if (colon == std::string_view::npos || server.find(':', colon + 1) != std::string_view::npos) {
    return WithPort(server, std::nullopt);
  }
  return WithPort(server.substr(0, colon), server.substr(colon + 1));
}

}  // namespace vorlix::platform
