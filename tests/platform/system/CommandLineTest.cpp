#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/system/CommandLine.h"

namespace vorlix::platform {
namespace {

struct SplitCase {
  const char* line;
  std::vector<std::string> args;
};

TEST(ProcessCommandLine, SplitsLikeTheClientsCommandLine) {
  const SplitCase cases[] = {
      {R"("/opt/q/vorlixcln" 0 0 1920 1080 1920 5 8)",
       {"/opt/q/vorlixcln", "0", "0", "1920", "1080", "1920", "5", "8"}},
      {R"("/opt/my q/vorlixcln" 1 -1080 -1920)", {"/opt/my q/vorlixcln", "1", "-1080", "-1920"}},
      {"  a \t  b  ", {"a", "b"}},
      {R"(a "" b)", {"a", "", "b"}},
      {R"("")", {""}},
      {R"(a"b c"d e)", {"ab cd", "e"}},
      {R"("C:\dir\" x)", {R"(C:\dir\)", "x"}},
      {R"(a\"b c")", {R"(a\b c)"}},
      {R"(x "open end)", {"x", "open end"}},
      {"", {}},
      {"   ", {}},
  };
  for (const SplitCase& c : cases) {
    EXPECT_EQ(SplitCommandLine(c.line), c.args) << "line: " << c.line;
  }
}

}  // namespace
}  // namespace vorlix::platform
