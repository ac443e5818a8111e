#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "tests/inputdev/KeyboardRegistry.h"

// Also the child process of the numbering tests: a fresh process on the same registry.
int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], vorlix::test::kListKeyboards) == 0) {
    vorlix::TZephKbdMgr keyboards;
    std::fputs(vorlix::test::ListDevices(keyboards, 0).c_str(), stdout);
    return 0;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
