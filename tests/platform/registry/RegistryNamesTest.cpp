#include "platform/registry/RegistryNames.h"

#include <gtest/gtest.h>

namespace vorlix::platform::registry_names {
namespace {

TEST(RegistryNames, EveryNameSurvivesTheFileSystemAsKeyAndAsValue) {
  const std::string names[] = {"Vorlix",
                               "",
                               ".",
                               "..",
                               ".hidden",
                               "a/b",
                               "a\\b",
                               "=x",
                               "100%",
                               "DUMMY1",
                               std::string("tab\there"),
                               "é ü",
                               "Links Links"};
  for (const std::string& name : names) {
    const std::string key = Escape(name);
    EXPECT_EQ(key.find('/'), std::string::npos) << name;
    if (!name.empty()) {
      EXPECT_NE(key.front(), '.') << name;
      EXPECT_NE(key.front(), '=') << name;
      EXPECT_EQ(KeyNameOf(key), name);
    }
    const std::string value = ValueFileName(name);
    EXPECT_EQ(ValueNameOf(value), name);
    EXPECT_EQ(KeyNameOf(value), std::nullopt) << "a value file must never pass for a key";
  }
}

TEST(RegistryNames, ForeignFileNamesAreNotTakenForNames) {
  for (const char* file : {".tmp-12-0", ".del-3-1", "%4", "%ZZ", "a%2"}) {
    EXPECT_EQ(KeyNameOf(file), std::nullopt) << file;
  }
}

TEST(RegistryNames, NamesCompareIgnoringLetterCaseOnly) {
  EXPECT_TRUE(SameName("Software\\Brackenholt", "SOFTWARE\\brackenholt"));
  EXPECT_FALSE(SameName("DUMMY1", "DUMMY1 "));
  EXPECT_FALSE(SameName("a_b", "a-b"));
}

TEST(RegistryNames, KeyPathSplitsOnBackslashes) {
  const struct {
    const char* path;
    std::vector<std::string> parts;
  } cases[] = {
      {"Software\\Brackenholt\\Vorlix", {"Software", "Brackenholt", "Vorlix"}},
      {"\\Software\\\\Links\\", {"Software", "Links"}},
      {"", {}},
      {"a/b", {"a/b"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitKeyPath(c.path), c.parts) << c.path;
}

}  // namespace
}  // namespace vorlix::platform::registry_names
