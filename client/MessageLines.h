#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlix {

// The lines the message window shows for a text: split at each line feed, an empty part giving
// an empty line, and no empty last line after a closing line feed.
std::vector<std::string> SplitMessageLines(std::string_view text);

}  // namespace vorlix
