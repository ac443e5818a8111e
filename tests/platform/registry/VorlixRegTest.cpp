#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/RunTool.h"
#include "tests/support/TempRoot.h"

namespace vorlix {
namespace {

using test::RunTool;

std::string Reg(const std::string& arguments) { return std::string(VORLIXREG) + " " + arguments; }

class VorlixRegTest : public ::testing::Test {
 protected:
  test::TempRoot root_;
};

TEST_F(VorlixRegTest, AddedIntegerIsFoundWhateverTheCaseOfKeyAndName) {
  auto added =
      RunTool(Reg("add 'HKLM\\Software\\Brackenholt\\Vorlix' /v DebugMonitors /t REG_DWORD /d 1"));
  ASSERT_EQ(added.exitCode, 0) << added.output;
  auto query = RunTool(Reg("query 'HKLM\\software\\brackenholt\\vorlix' /v debugmonitors"));
  EXPECT_EQ(query.exitCode, 0);
  EXPECT_EQ(query.output,
            "HKEY_LOCAL_MACHINE\\Software\\Brackenholt\\Vorlix\n"
            "    DebugMonitors    REG_DWORD    0x1\n");
}

TEST_F(VorlixRegTest, QueryListsValuesAndSubkeys) {
  ASSERT_EQ(RunTool(Reg("add 'HKLM\\Software\\B\\V' /v TsHostName /t REG_SZ /d 'ts 01'")).exitCode,
            0);
  ASSERT_EQ(RunTool(Reg("add 'HKEY_LOCAL_MACHINE\\Software\\B\\V\\Links'")).exitCode, 0);
  auto query = RunTool(Reg("query 'HKLM\\Software\\B\\V'"));
  EXPECT_EQ(query.exitCode, 0);
  EXPECT_EQ(query.output,
            "HKEY_LOCAL_MACHINE\\Software\\B\\V\n"
            "    TsHostName    REG_SZ    ts 01\n"
            "\n"
            "HKEY_LOCAL_MACHINE\\Software\\B\\V\\Links\n");
}

TEST_F(VorlixRegTest, ErrorsExitWithOneAndOneLine) {
  ASSERT_EQ(RunTool(Reg("add 'HKLM\\S' /v Name /t REG_SZ /d text")).exitCode, 0);
  const char* failing[] = {
      "query 'HKLM\\S' /v Missing",
      "query 'HKLM\\Nowhere'",
      "add 'HKLM\\S' /v N /t REG_DWORD /d 4294967296",
      "add 'HKLM\\S' /v N /t REG_DWORD /d twelve",
      "add 'HKLM\\S' /v N /t REG_MULTI_SZ /d x",
      "add 'HKCU\\S' /v N /t REG_SZ /d x",
      "add 'HKLM\\S' /v Name /t REG_SZ /d other",  // exists, and no /f to overwrite it
      "delete 'HKLM\\S' /v Missing /f",
      "frobnicate 'HKLM\\S'",
  };
  for (const char* arguments : failing) {
    auto result = RunTool(Reg(arguments));
    EXPECT_EQ(result.exitCode, 1) << arguments;
    EXPECT_EQ(std::count(result.output.begin(), result.output.end(), '\n'), 1)
        << arguments << ": " << result.output;
  }
  auto query = RunTool(Reg("query 'HKLM\\S' /v Name"));
  EXPECT_NE(query.output.find("REG_SZ    text"), std::string::npos) << "nothing was overwritten";
}

TEST_F(VorlixRegTest, DeleteRemovesValuesAndKeys) {
  ASSERT_EQ(RunTool(Reg("add 'HKLM\\S\\Links' /v DUMMY1 /t REG_SZ /d 'k m'")).exitCode, 0);
  EXPECT_EQ(RunTool(Reg("delete 'HKLM\\S\\Links' /v dummy1 /f")).exitCode, 0);
  EXPECT_EQ(RunTool(Reg("query 'HKLM\\S\\Links' /v DUMMY1")).exitCode, 1);
  EXPECT_EQ(RunTool(Reg("delete 'HKLM\\S' /f")).exitCode, 0);
  EXPECT_EQ(RunTool(Reg("query 'HKLM\\S'")).exitCode, 1);
}

}  // namespace
}  // namespace vorlix
