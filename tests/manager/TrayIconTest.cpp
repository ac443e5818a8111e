#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>

#include "manager/ToolImages.h"
#include "manager/Trayiconmy.h"

namespace vorlix {
namespace {

// Reaches the animation step without waiting a second per step.
class SteppedTrayIcon : public TTrayIconMy {
 public:
  using TTrayIconMy::Step;
  using TTrayIconMy::TTrayIconMy;
};

TEST(TrayIcon, AnimationGoesRoundFromTheLastImageToTheFirst) {
  QWidget window;
  SteppedTrayIcon icon(&window);
  icon.SetIcons(MakeTrayImages());
  std::vector<int> seen;
  for (int i = 0; i < 6; ++i) {
    icon.Step();
    seen.push_back(icon.IconIndex());
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 3, 0, 1, 2}));
}

TEST(TrayIcon, MinimizeHidesTheMainWindow) {
  QWidget window;
  window.show();
  TTrayIconMy icon(&window);
  icon.Minimize();
  EXPECT_TRUE(window.isHidden());
}

}  // namespace
}  // namespace vorlix

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
