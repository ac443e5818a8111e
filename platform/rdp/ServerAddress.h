#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlix::platform {

inline constexpr uint16_t kRdpPort = 3389;

struct ServerAddress {
  std::string host;
  uint16_t port = kRdpPort;
};

// "host", "host:port", "[v6 address]:port" or a bare v6 address; nothing for an empty host or a
// port that is not 1 to 65535.
std::optional<ServerAddress> ParseServerAddress(std::string_view server);

}  // namespace vorlix::platform
