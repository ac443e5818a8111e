#pragma once

#include <string>

namespace vorlix {

// The text with the given number from the table both programs share, or an empty text when the
// number has none. The reference stays valid for the life of the program.
const std::string& LoadStr(int id);

}  // namespace vorlix
