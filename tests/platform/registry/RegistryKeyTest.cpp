#include "platform/registry/RegistryKey.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/ResultCodes.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kSettings = "Software\\Brackenholt\\Vorlix";

class RegistryKeyTest : public ::testing::Test {
 protected:
  RegistryKey Create(const char* path) {
    RegistryKey key;
    EXPECT_EQ(RegistryKey::Open(path, KeyAccess::Full, true, key), 0u);
    return key;
  }
  static std::vector<std::string> Sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
  }

  test::TempRoot root_;
};

TEST_F(RegistryKeyTest, MissingKeyIsErrorTwoUntilCreatedWithItsParents) {
  RegistryKey key;
  EXPECT_EQ(RegistryKey::Open(kSettings, KeyAccess::Read, false, key), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key.IsOpen());
  Create(kSettings);
  ASSERT_EQ(RegistryKey::Open("SOFTWARE\\brackenholt\\VORLIX", KeyAccess::Read, false, key), 0u);
  EXPECT_EQ(key.Path(), kSettings) << "the key keeps the case it was created with";
  ASSERT_EQ(RegistryKey::Open("software", KeyAccess::Read, false, key), 0u);
  std::vector<std::string> subkeys;
  ASSERT_EQ(key.SubkeyNames(subkeys), 0u);
  EXPECT_EQ(subkeys, std::vector<std::string>{"Brackenholt"});
}

TEST_F(RegistryKeyTest, ValuesAreTypedAndNamedWithoutRegardToCase) {
  RegistryKey key = Create(kSettings);
  ASSERT_EQ(key.WriteInteger("DebugMonitors", 1), 0u);
  ASSERT_EQ(key.WriteString("TsHostName", "ts01.example"), 0u);
  ASSERT_EQ(key.WriteInteger("debugmonitors", 0xFFFFFFFF), 0u);

  uint32_t number = 0;
  std::string text;
  EXPECT_EQ(key.ReadInteger("DEBUGMONITORS", number), 0u);
  EXPECT_EQ(number, 0xFFFFFFFFu);
  EXPECT_EQ(key.ReadString("tshostname", text), 0u);
  EXPECT_EQ(text, "ts01.example");
  EXPECT_EQ(key.ReadInteger("TsHostName", number), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(key.ReadString("DebugMonitors", text), ERROR_UNSUPPORTED_TYPE);
  EXPECT_EQ(key.ReadString("Missing", text), ERROR_FILE_NOT_FOUND);

  std::vector<std::string> values;
  ASSERT_EQ(key.ValueNames(values), 0u);
  EXPECT_EQ(Sorted(values), (std::vector<std::string>{"DebugMonitors", "TsHostName"}))
      << "an overwrite keeps the name's first spelling";
}

TEST_F(RegistryKeyTest, AnyValueNameWorksAndKeysAndValuesMayShareANameKeyAndValue) {
  RegistryKey key = Create("Software\\Brackenholt\\Vorlix");
  const std::vector<std::string> odd = {"", "a\\b", "x/y", ".dot", "=eq", "DUMMY1", "Links"};
  for (const auto& name : odd) ASSERT_EQ(key.WriteString(name, "v:" + name), 0u) << name;
  Create("Software\\Brackenholt\\Vorlix\\Links");
  for (const auto& name : odd) {
    std::string text;
    EXPECT_EQ(key.ReadString(name, text), 0u) << name;
    EXPECT_EQ(text, "v:" + name);
  }
  std::vector<std::string> values, subkeys;
  ASSERT_EQ(key.ValueNames(values), 0u);
  ASSERT_EQ(key.SubkeyNames(subkeys), 0u);
  EXPECT_EQ(Sorted(values), Sorted(odd));
  EXPECT_EQ(subkeys, std::vector<std::string>{"Links"});
}

TEST_F(RegistryKeyTest, DeletingAValueThatIsMissingIsNoError) {
  RegistryKey key = Create(kSettings);
  ASSERT_EQ(key.WriteString("DUMMY1", "kbd mouse"), 0u);
  EXPECT_EQ(key.DeleteValue("dummy1"), 0u);
  EXPECT_EQ(key.DeleteValue("dummy1"), 0u);
  std::string text;
  EXPECT_EQ(key.ReadString("DUMMY1", text), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, ReadOnlyKeyRefusesChanges) {
  Create(kSettings).WriteInteger("AutoStart", 1);
  RegistryKey key;
  ASSERT_EQ(RegistryKey::Open(kSettings, KeyAccess::Read, false, key), 0u);
  EXPECT_EQ(key.WriteInteger("AutoStart", 0), ERROR_ACCESS_DENIED);
  EXPECT_EQ(key.DeleteValue("AutoStart"), ERROR_ACCESS_DENIED);
  uint32_t number = 0;
  EXPECT_EQ(key.ReadInteger("AutoStart", number), 0u);
  EXPECT_EQ(number, 1u);
}

TEST_F(RegistryKeyTest, DamagedValueFileIsAnErrorAndHarmsNothingElse) {
  RegistryKey key = Create(kSettings);
  ASSERT_EQ(key.WriteInteger("ConnectionTimeOut", 60000), 0u);
  const fs::path folder = root_.Registry() / "Software" / "Brackenholt" / "Vorlix";
  std::ofstream(folder / "=Broken") << "xy";                           // shorter than a type
  std::ofstream(folder / "=Alien") << std::string("\x07\0\0\0zz", 6);  // unknown type
  uint32_t number = 0;
  std::string text;
  EXPECT_EQ(key.ReadInteger("Broken", number), ERROR_INVALID_DATA);
  EXPECT_EQ(key.ReadString("Alien", text), ERROR_INVALID_DATA);
  EXPECT_EQ(key.ReadInteger("ConnectionTimeOut", number), 0u);
  EXPECT_EQ(number, 60000u);
}

TEST_F(RegistryKeyTest, WriteCutShortBeforeItsRenameLeavesTheOldValue) {
  RegistryKey key = Create(kSettings);
  ASSERT_EQ(key.WriteString("TsHostName", "old"), 0u);
  // What a crash between writing the temporary file and renaming it leaves behind.
  const fs::path folder = root_.Registry() / "Software" / "Brackenholt" / "Vorlix";
  std::ofstream(folder / ".tmp-999-0") << std::string("\x01\0\0\0new", 7);
  std::string text;
  EXPECT_EQ(key.ReadString("TsHostName", text), 0u);
  EXPECT_EQ(text, "old");
  std::vector<std::string> values;
  ASSERT_EQ(key.ValueNames(values), 0u);
  EXPECT_EQ(values, std::vector<std::string>{"TsHostName"});
  ASSERT_EQ(key.WriteString("TsHostName", "new"), 0u);
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_TRUE(entry.path().filename() == "=TsHostName" || entry.path().filename() == ".tmp-999-0")
        << "a write leaves no file of its own behind: " << entry.path();
  }
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesTheKeyWithEverythingBelowButNeverTheRoot) {
  Create("Software\\Brackenholt\\Vorlix\\Links").WriteString("DUMMY1", "k m");
  Create(kSettings).WriteInteger("AutoStart", 0);
  EXPECT_EQ(RegistryKey::DeleteTree("software\\BRACKENHOLT"), 0u);
  RegistryKey key;
  EXPECT_EQ(RegistryKey::Open("Software\\Brackenholt", KeyAccess::Read, false, key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegistryKey::Open("Software", KeyAccess::Read, false, key), 0u);
  EXPECT_EQ(RegistryKey::DeleteTree("Software\\Nothing"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegistryKey::DeleteTree(""), ERROR_ACCESS_DENIED);
}

// Runs `body` in a child that has become user and group nobody; returns what it returned.
template <typename Body>
int AsNobody(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) _exit(99);
    _exit(body());
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(RegistryKeyTest, FilePermissionsGiveAccessDeniedPerKey) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
  Create(kSettings).WriteString("TsHostName", "ts01");
  Create("Software\\Secret");
  fs::permissions(root_.Registry() / "Software" / "Secret", fs::perms::owner_all);

  auto openAs = [](const char* path, KeyAccess access) {
    return AsNobody([=] {
      RegistryKey key;
      return static_cast<int>(RegistryKey::Open(path, access, false, key));
    });
  };
  EXPECT_EQ(openAs(kSettings, KeyAccess::Read), 0);
  EXPECT_EQ(openAs(kSettings, KeyAccess::Full), static_cast<int>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(openAs("Software\\Secret", KeyAccess::Read), static_cast<int>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(AsNobody([] {
              RegistryKey key;
              RegistryKey::Open(kSettings, KeyAccess::Read, false, key);
              std::string text;
              return static_cast<int>(key.ReadString("TsHostName", text));
            }),
            0);
}

}  // namespace
}  // namespace vorlix::platform
