#include "common/ReasonTexts.h"

#include "common/StringTable.h"

namespace vorlix {

namespace {

constexpr int kReasonBase = 10000;
constexpr int kFatalErrorBase = 9000;
// The numbers each table may hold above its base.
constexpr int32_t kLastReason = 9999;
constexpr int32_t kLastFatalError = 999;

std::string TextFromTable(int base, int32_t last, int32_t number) {
  if (number > 0 && number <= last) {
    const std::string& text = LoadStr(base + number);
    if (!text.empty()) return text;
  }
  return LoadStr(base) + std::to_string(number);
}

}  // namespace

std::string DisconnectReasonText(int32_t reason) {
  return TextFromTable(kReasonBase, kLastReason, reason);
}

std::string FatalErrorText(int32_t code) {
  return TextFromTable(kFatalErrorBase, kLastFatalError, code);
}

}  // namespace vorlix
