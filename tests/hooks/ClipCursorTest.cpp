#include "platform/display/ClipCursor.h"

#include <gtest/gtest.h>

#include <utility>

#include "tests/hooks/XTestDriver.h"
#include "tests/hooks/XorgSuite.h"

namespace vorlix::platform {
namespace {

using test::kPrimary;
using test::kPrimaryCenterX;
using test::kPrimaryCenterY;
using test::kScreen;

class ClipCursorOnXorg : public test::XorgSuite {
 protected:
  void TearDown() override { ClipCursor(nullptr); }

  // Where the pointer ends after moving 800 pixels from the primary monitor's center.
  std::pair<int, int> AfterMoveFromCenter(int dx, int dy) {
    driver_.WarpTo(kPrimaryCenterX, kPrimaryCenterY);
    driver_.MoveBy(dx, dy);
    return driver_.Position();
  }

  test::XTestDriver driver_;
};

TEST_F(ClipCursorOnXorg, ConfinesThePointerToTheRectangle) {
  Rect clip;
  ASSERT_TRUE(GetClipCursor(clip));
  EXPECT_EQ(clip, kScreen);
  driver_.WarpTo(2500, 300);

  ASSERT_TRUE(ClipCursor(&kPrimary));
  EXPECT_EQ(driver_.Position(), std::make_pair(2047, 768));
  ASSERT_TRUE(GetClipCursor(clip));
  EXPECT_EQ(clip, kPrimary);
  EXPECT_EQ(AfterMoveFromCenter(-800, 0), std::make_pair(1024, 1152));
  EXPECT_EQ(AfterMoveFromCenter(0, -800), std::make_pair(1536, 768));
  EXPECT_EQ(AfterMoveFromCenter(800, 0), std::make_pair(2047, 1152));
  EXPECT_EQ(AfterMoveFromCenter(0, 800), std::make_pair(1536, 1535));
}

// The manager frees the pointer with null, or by restoring the rectangle it read at its start.
TEST_F(ClipCursorOnXorg, NullOrTheWholeScreenSetsThePointerFree) {
  for (const Rect* release : {static_cast<const Rect*>(nullptr), &kScreen}) {
    SCOPED_TRACE(release == nullptr ? "null" : "whole screen");
    ASSERT_TRUE(ClipCursor(&kPrimary));
    ASSERT_TRUE(ClipCursor(release));

    Rect clip;
    ASSERT_TRUE(GetClipCursor(clip));
    EXPECT_EQ(clip, kScreen);
    EXPECT_EQ(AfterMoveFromCenter(800, 0), std::make_pair(2336, 1152));
  }
}

}  // namespace
}  // namespace vorlix::platform
