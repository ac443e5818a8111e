#include "platform/display/Monitors.h"

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "tests/platform/display/DisplayMonitorPrinter.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempRoot.h"
#include "tests/support/XServer.h"

namespace vorlix::platform {
namespace {

// Three monitors side by side, a fourth output showing the second one and a fifth that is
// connected but off the desktop.
class DisplayOnXorg : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<test::XServer>("1280x1024+0+0*,1280x1024+1280+0,1024x768+2560+0",
                                              "--detached 800x600 --mirror 1");
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_TRUE(server_->Ok()) << server_->Error(); }

  static std::unique_ptr<test::XServer> server_;
};

std::unique_ptr<test::XServer> DisplayOnXorg::server_;

TEST_F(DisplayOnXorg, EveryConnectedOutputIsAMonitor) {
  const std::vector<DisplayMonitor> monitors = EnumerateDisplayMonitors(server_->Display().c_str());
  ASSERT_EQ(monitors.size(), 5u);

  const std::vector<DisplayMonitor> onDesktop(monitors.begin(), monitors.begin() + 4);
  const std::vector<DisplayMonitor> expected = {
      {{0, 0, 1280, 1024}, "DUMMY0", true, true, 5},
      {{1280, 0, 2560, 1024}, "DUMMY1", false, true, 1},
      {{2560, 0, 3584, 768}, "DUMMY2", false, true, 1},
      {{1280, 0, 2560, 1024}, "DUMMY3", false, true, 9},
  };
  EXPECT_EQ(onDesktop, expected);

  const DisplayMonitor& detached = monitors[4];
  EXPECT_EQ(detached.deviceName, "DUMMY4");
  EXPECT_EQ(detached.deviceState, 0u);
  EXPECT_FALSE(detached.systemPrimary);
  EXPECT_EQ(detached.rect.left, 3584);
  EXPECT_EQ(detached.rect.top, 0);
}

TEST_F(DisplayOnXorg, ScreenshotCoversTheWholeScreen) {
  const test::TempRoot dir;
  const std::string png = (dir.Path() / "shot.png").string();
  server_->Use();

  const test::ToolResult shot = test::RunTool(std::string(VORLIX_XSHOT) + " " + png);
  ASSERT_EQ(shot.exitCode, 0) << shot.output;

  const QImage image(QString::fromStdString(png));
  EXPECT_EQ(image.width(), 3584);
  EXPECT_EQ(image.height(), 1024);
}

}  // namespace
}  // namespace vorlix::platform
