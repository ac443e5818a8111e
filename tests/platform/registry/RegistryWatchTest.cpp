#include <gtest/gtest.h>

#include "platform/registry/RegistryKey.h"
#include "platform/system/Event.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

constexpr const char* kService = "SYSTEM\\CurrentControlSet\\Services\\movorlix";
constexpr const char* kEnum = "SYSTEM\\CurrentControlSet\\Services\\movorlix\\Enum";
// Long enough for another process to start and write; a watch that fires does so at once.
constexpr uint32_t kFires = 10000;
constexpr uint32_t kQuiet = 300;

// Changes the registry from another process, as the input service does.
void AddFromOtherProcess(const std::string& key, const std::string& name) {
  const auto result = test::RunTool(std::string(VORLIXREG) + " add 'HKLM\\" + key + "' /v " + name +
                                    " /t REG_DWORD /d 1 /f");
  ASSERT_EQ(result.exitCode, 0) << result.output;
}

bool Fired(const Event& event, uint32_t timeoutMs) {
  const Event* events[] = {&event};
  return WaitAny(events, timeoutMs) == 0;
}

class RegistryWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegistryKey make;
    ASSERT_EQ(RegistryKey::Open(kEnum, KeyAccess::Full, true, make), 0u);
  }
  void Watch(const char* path, bool subtree) {
    ASSERT_EQ(RegistryKey::Open(path, KeyAccess::Read, false, key_), 0u);
    ASSERT_EQ(key_.NotifyChange(subtree, changed_), 0u);
  }

  test::TempRoot root_;
  RegistryKey key_;
  Event changed_{Event::Reset::Manual};
};

TEST_F(RegistryWatchTest, ChangeByAnotherProcessSignalsTheWatchOnce) {
  Watch(kEnum, true);
  AddFromOtherProcess(kEnum, "Count");
  EXPECT_TRUE(Fired(changed_, kFires));
  changed_.ResetEvent();
  AddFromOtherProcess(kEnum, "Again");
  EXPECT_FALSE(Fired(changed_, kQuiet)) << "a watch fires once, then must be armed again";
}

TEST_F(RegistryWatchTest, SubtreeWatchSeesChangesDeepBelow) {
  RegistryKey deep;
  ASSERT_EQ(RegistryKey::Open(std::string(kEnum) + "\\Root\\0000", KeyAccess::Full, true, deep),
            0u);
  Watch(kService, true);
  AddFromOtherProcess(std::string(kEnum) + "\\Root\\0000", "Present");
  EXPECT_TRUE(Fired(changed_, kFires));
}

TEST_F(RegistryWatchTest, WatchWithoutSubtreeIgnoresValuesOfSubkeys) {
  Watch(kService, false);
  AddFromOtherProcess(kEnum, "Count");
  EXPECT_FALSE(Fired(changed_, kQuiet));
  AddFromOtherProcess(kService, "Start");
  EXPECT_TRUE(Fired(changed_, kFires));
}

TEST_F(RegistryWatchTest, ClosingTheKeyEndsItsWatch) {
  Watch(kEnum, true);
  key_.Close();
  AddFromOtherProcess(kEnum, "Count");
  EXPECT_FALSE(Fired(changed_, kQuiet));
}

TEST_F(RegistryWatchTest, DeletingTheWatchedKeySignals) {
  Watch(kEnum, true);
  ASSERT_EQ(RegistryKey::DeleteTree(kEnum), 0u);
  EXPECT_TRUE(Fired(changed_, kFires));
}

}  // namespace
}  // namespace vorlix::platform
