#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorlix {

// One channel message as the tools print and record it: "type=T len=L HEX", HEX being every
// byte of the message, header included, in lower-case hexadecimal.
std::string FormatChannelMessage(std::string_view message);

// "0800650000000100" (spaces allowed between bytes) to bytes; nothing for odd or non-hex text.
std::optional<std::string> ParseHex(std::string_view text);

}  // namespace vorlix
