#include "platform/registry/TRegistry.h"

#include <gtest/gtest.h>

#include "common/ResultCodes.h"
#include "platform/registry/ERegistryException.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

constexpr const char* kSettings = "Software\\Brackenholt\\Vorlix";

class TRegistryTest : public ::testing::Test {
 protected:
  test::TempRoot root_;
};

TEST_F(TRegistryTest, MissingKeyOpensOnlyWhenItMayBeCreated) {
  TRegistry reg;
  EXPECT_FALSE(reg.OpenKeyReadOnly(kSettings));
  EXPECT_FALSE(reg.OpenKey(kSettings, false));
  EXPECT_TRUE(reg.OpenKey(kSettings, true));
  EXPECT_TRUE(reg.KeyExists("software\\brackenholt\\vorlix"));
}

TEST_F(TRegistryTest, MissingStringIsEmptyButMissingIntegerRaises) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettings, true));
  EXPECT_EQ(reg.ReadString("TsHostName"), "");
  try {
    reg.ReadInteger("ConnectionTimeOut");
    FAIL() << "no registry error raised";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Error(), ERROR_FILE_NOT_FOUND);
    EXPECT_NE(std::string(e.what()).find("ConnectionTimeOut"), std::string::npos);
  }
}

TEST_F(TRegistryTest, ValueOfTheWrongTypeRaisesEitherWay) {
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKey(kSettings, true));
  reg.WriteString("DebugMonitors", "1");
  reg.WriteInteger("TsHostName", -1);
  EXPECT_THROW(reg.ReadInteger("DebugMonitors"), ERegistryException);
  EXPECT_THROW(reg.ReadString("TsHostName"), ERegistryException);
  reg.WriteInteger("DebugMonitors", -5);
  EXPECT_EQ(reg.ReadInteger("DebugMonitors"), -5);
}

TEST_F(TRegistryTest, WriteThroughAReadOnlyKeyRaises) {
  TRegistry(KeyAccess::Full).OpenKey(kSettings, true);
  TRegistry reg(KeyAccess::Read);
  ASSERT_TRUE(reg.OpenKey(kSettings, false));
  try {
    reg.WriteString("TsHostName", "x");
    FAIL() << "no registry error raised";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.Error(), ERROR_ACCESS_DENIED);
  }
}

}  // namespace
}  // namespace vorlix::platform
