#include <gtest/gtest.h>

#include "client/AgentStatusText.h"
#include "client/MessageLines.h"

namespace vorlix {
namespace {

using Lines = std::vector<std::string>;

TEST(MessageLinesTest, SplitsAtLineFeedsWithoutAnEmptyLastLine) {
  const struct {
    const char* text;
    Lines lines;
  } cases[] = {
      {"", {}},
      {"one", {"one"}},
      {"one\n", {"one"}},
      {"one\ntwo", {"one", "two"}},
      {"one\n\ntwo\n", {"one", "", "two"}},
      {"\n", {""}},
      {"\n\n", {"", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitMessageLines(c.text), c.lines) << c.text;
}

TEST(AgentStatusTextTest, FailureFlagsInTableOrderThenTheRest) {
  const struct {
    uint32_t status;
    const char* text;
  } cases[] = {
      {0x10000, ""},
      {0x6, "Can't open mouse device\nCan't open keyboard device\n"},
      {0x12, "Can't open mouse device\nCan't Open/Create Session Section\n"},
      {0x30, "Can't map session section\nCan't Open/Create Session Section\n"},
      {0x1, "Internal error at the session side=1"},
      {0x81, "Internal error at the session side=129"},
      {0x1FFC2,
       "Can't open mouse device\nCan't load library with Mouse hook\n"
       "Internal error at the session side=65408"},
  };
  for (const auto& c : cases) EXPECT_EQ(AgentFailureText(c.status), c.text) << c.status;
}

}  // namespace
}  // namespace vorlix
