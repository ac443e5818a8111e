#include "client/AgentStatusText.h"

#include "common/ChannelProtocol.h"
#include "common/StringTable.h"

namespace vorlix {

namespace {

constexpr int kOtherBitsText = 135;

struct FailureFlag {
  uint32_t bit;
  int text;
};

// In the order the texts are appended.
constexpr FailureFlag kFailureFlags[] = {
    {ssMouseFailed, 110}, {ssKeyboardFailed, 105}, {ssHookFailed, 115},
    {ssMapFailed, 120},   {ssSectionFailed, 125},  {ssHookLibraryFailed, 130},
};

}  // namespace

std::string AgentFailureText(uint32_t status) {
  uint32_t remaining = status & ssFailureBits;
  std::string text;
  for (const FailureFlag& flag : kFailureFlags) {
    if ((remaining & flag.bit) == 0) continue;
    text += LoadStr(flag.text);
    remaining &= ~flag.bit;
  }
  if (remaining != 0) text += LoadStr(kOtherBitsText) + std::to_string(remaining);
  return text;
}

}  // namespace vorlix
