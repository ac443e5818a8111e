#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QWidget>
#include <memory>

#include "common/ResultCodes.h"
#include "platform/rdp/ControlFactory.h"
#include "platform/rdp/WindowClass.h"
#include "tests/platform/rdp/EventLog.h"
#include "tests/platform/rdp/TestBstr.h"
#include "tests/support/TempRoot.h"

namespace vorlix::platform {
namespace {

// "chA,chB,...": `count` distinct channel names.
std::u16string ChannelList(int count) {
  std::u16string list;
  for (int i = 0; i < count; ++i) {
    if (i > 0) list += u',';
    list += u"ch";
    list += static_cast<char16_t>(u'A' + i);
  }
  return list;
}

// The control as the programs get it: from the registered module.
class RdpControlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegisterControlModule(), 0);
    control_.reset(CreateRemoteDesktopControl(nullptr));
  }

  test::TempRoot root_;
  std::unique_ptr<TMsTscAx> control_;
};

TEST_F(RdpControlTest, PropertiesAndSettingsKeepWhatWasSet) {
  struct Setting {
    void (IMsTscAdvancedSettings::*set)(int32_t);
    int32_t (IMsTscAdvancedSettings::*get)() const;
  };
  const Setting settings[] = {
      {&IMsTscAdvancedSettings::SetCompress, &IMsTscAdvancedSettings::Compress},
      {&IMsTscAdvancedSettings::SetallowBackgroundInput,
       &IMsTscAdvancedSettings::allowBackgroundInput},
      {&IMsTscAdvancedSettings::SetBitmapPeristence, &IMsTscAdvancedSettings::BitmapPeristence},
      {&IMsTscAdvancedSettings::SetContainerHandledFullScreen,
       &IMsTscAdvancedSettings::ContainerHandledFullScreen},
      {&IMsTscAdvancedSettings::SetDisableRdpdr, &IMsTscAdvancedSettings::DisableRdpdr},
  };
  IMsTscAdvancedSettings* advanced = control_->AdvancedSettings();
  IMsTscSecuredSettings* secured = control_->SecuredSettings();
  ASSERT_NE(advanced, nullptr);
  ASSERT_NE(secured, nullptr);

  // Distinct values, all set before any is read, show a setter wired to the wrong setting.
  int32_t value = 10;
  for (const Setting& s : settings) (advanced->*s.set)(value++);
  secured->SetFullScreen(value);
  control_->SetServer(u"ts.example.org:3390");
  control_->SetDesktopWidth(1280);
  control_->SetDesktopHeight(-1024);

  value = 10;
  for (const Setting& s : settings) EXPECT_EQ((advanced->*s.get)(), value++);
  EXPECT_EQ(secured->FullScreen(), value);
  EXPECT_EQ(control_->Server(), u"ts.example.org:3390");
  EXPECT_EQ(control_->DesktopWidth(), 1280);
  EXPECT_EQ(control_->DesktopHeight(), -1024);
}

TEST_F(RdpControlTest, VirtualChannelNamesAreCheckedAndFixedByConnect) {
  const struct {
    std::u16string names;
    HRESULT result;
  } cases[] = {
      {u"Vorlix", 0},
      {u"Vorlix,cliprdr", 0},
      {u"Seven77", 0},
      {ChannelList(30), 0},
      {u"", E_INVALIDARG},
      {u"Eight888", E_INVALIDARG},
      {u"Vorlix,,cliprdr", E_INVALIDARG},
      {u"Vorlix,", E_INVALIDARG},
      {u"Vorlix,Vorlix", E_INVALIDARG},
      {u"Vor lix", E_INVALIDARG},
      {u"Vorl\u00efx", E_INVALIDARG},
      {ChannelList(31), E_INVALIDARG},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(control_->CreateVirtualChannels(c.names), c.result)
        << std::string(c.names.begin(), c.names.end());
  }
  control_->Connect();
  EXPECT_EQ(control_->CreateVirtualChannels(u"Vorlix"), HResult(E_FAIL));
}

TEST_F(RdpControlTest, DisplayWindowIsFoundLevelByLevel) {
  QWidget* control = control_->Widget();
  QWidget* main = FindChildWindow(control, "UIMainClass");
  ASSERT_NE(main, nullptr);
  QWidget* container = FindChildWindow(main, "UIContainerClass");
  ASSERT_NE(container, nullptr);
  QWidget* output = FindChildWindow(container, "OPWindowClass");
  ASSERT_NE(output, nullptr);
  EXPECT_EQ(output->objectName(), "OPWindowClass");

  EXPECT_EQ(FindChildWindow(control, "UIContainerClass"), nullptr);
  EXPECT_EQ(FindChildWindow(control, "OPWindowClass"), nullptr);
  EXPECT_EQ(FindChildWindow(main, "OPWindowClass"), nullptr);
  EXPECT_EQ(FindChildWindow(main, "UIMainClass"), nullptr);
}

}  // namespace
}  // namespace vorlix::platform
