#include "client/MessageLines.h"

namespace vorlix {

std::vector<std::string> SplitMessageLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    const size_t feed = text.find('\n');
    lines.emplace_back(text.substr(0, feed));
    if (feed == std::string_view::npos) break;
    text.remove_prefix(feed + 1);
  }
  return lines;
}

}  // namespace vorlix
