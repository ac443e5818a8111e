#include "platform/rdp/ControlFactory.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/rdp/EOleSysError.h"
#include "platform/rdp/MsRdpModule.h"
#include "platform/registry/RegistryKey.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

namespace fs = std::filesystem;

class RdpControlFactoryTest : public ::testing::Test {
 protected:
  static std::string Registration(const char* valueName) {
    RegistryKey key;
    std::string value;
    if (RegistryKey::Open(InprocServerKey(), KeyAccess::Read, false, key) == 0) {
      key.ReadString(valueName, value);
    }
    return value;
  }
  static void RecordModule(const std::string& path) {
    RegistryKey key;
    ASSERT_EQ(RegistryKey::Open(InprocServerKey(), KeyAccess::Full, true, key), 0u);
    ASSERT_EQ(key.WriteString("", path), 0u);
  }
  // The code of the EOleSysError that creating a control raises; 0 when it raises none.
  static HRESULT CreationError() {
    try {
      std::unique_ptr<TMsTscAx> control(CreateRemoteDesktopControl(nullptr));
      return 0;
    } catch (const EOleSysError& error) {
      return error.ErrorCode();
    }
  }

  test::TempRoot root_;
};

TEST_F(RdpControlFactoryTest, CreationFailsUntilTheModuleRegistersItselfByItsPath) {
  EXPECT_EQ(CreationError(), REGDB_E_CLASSNOTREG);
  ASSERT_EQ(RegisterControlModule(), 0);
  EXPECT_EQ(Registration(""), fs::canonical(MSRDP_MODULE).string());
  EXPECT_EQ(Registration("ThreadingModel"), "Apartment");
  std::unique_ptr<TMsTscAx> control(CreateRemoteDesktopControl(nullptr));
  ASSERT_NE(control, nullptr);
  EXPECT_NE(control->Widget(), nullptr);
}

TEST_F(RdpControlFactoryTest, UnregisteringForgetsTheClass) {
  ASSERT_EQ(RegisterControlModule(), 0);
  void* module = ::dlopen(MSRDP_MODULE, RTLD_NOW);
  ASSERT_NE(module, nullptr) << ::dlerror();
  const auto unregister =
      reinterpret_cast<decltype(&DllUnregisterServer)>(::dlsym(module, "DllUnregisterServer"));
  ASSERT_NE(unregister, nullptr);
  EXPECT_EQ(unregister(), 0);
  EXPECT_EQ(CreationError(), REGDB_E_CLASSNOTREG);
  EXPECT_EQ(unregister(), 0) << "nothing left to remove is no failure";
}

TEST_F(RdpControlFactoryTest, ARecordedModuleThatCannotServeTheClassIsAnError) {
  const fs::path text = root_.Path() / "text.ocx";
  std::ofstream(text) << "not a module";
  const fs::path emptyModule = fs::path(MSRDP_MODULE).parent_path() / "rdp_empty.ocx";
  const struct {
    std::string path;
    HRESULT error;
  } cases[] = {
      {"", REGDB_E_CLASSNOTREG},
      {(root_.Path() / "missing.ocx").string(), HResultFromWin32(ERROR_MOD_NOT_FOUND)},
      {text.string(), HResultFromWin32(ERROR_MOD_NOT_FOUND)},
      {emptyModule.string(), HResultFromWin32(ERROR_PROC_NOT_FOUND)},
  };
  for (const auto& c : cases) {
    RecordModule(c.path);
    EXPECT_EQ(CreationError(), c.error) << "module \"" << c.path << "\"";
  }
}

TEST_F(RdpControlFactoryTest, RegistrationReportsWhatStoppedIt) {
  EXPECT_EQ(RegisterControlModule("missing.ocx"), HResultFromWin32(ERROR_MOD_NOT_FOUND));
  EXPECT_EQ(RegisterControlModule("rdp_empty.ocx"), HResultFromWin32(ERROR_PROC_NOT_FOUND));
  std::ofstream(root_.Registry()) << "a file where the registry's folder belongs";
  EXPECT_EQ(RegisterControlModule(), SELFREG_E_CLASS);
}

}  // namespace
}  // namespace vorlix::platform
