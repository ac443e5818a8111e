#include "platform/rdp/NoEngine.h"

namespace vorlix::platform {

namespace {

constexpr int32_t kInternalError = 1032;

}  // namespace

void NoEngine::Connect(const RdpSettings&) {
  sink_(rdp_event::Connecting{});
  sink_(rdp_event::Disconnected{kInternalError});
}

}  // namespace vorlix::platform
