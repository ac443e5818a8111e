#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vorlix::platform {

// Splits a one-string command line into arguments, for example
//   "/opt/q/vorlixcln" 0 0 1920 1080 1920 5 8
// Spaces and tabs separate arguments, runs of them count as one. A double quote starts or ends
// a quoted stretch in which spaces belong to the argument; the quote itself is dropped, and ""
// is an empty argument. Backslashes are ordinary characters (no escapes), so "C:\dir\" ends at
// its second quote. A quote left open runs to the end.
std::vector<std::string> SplitCommandLine(std::string_view commandLine);

}  // namespace vorlix::platform
