#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "platform/display/Rect.h"
#include "tests/support/XServer.h"

namespace vorlix::test {

// Five monitors in a cross with the primary one in the middle, so that a workplace borders on
// every edge of the primary monitor.
inline constexpr const char* kCrossLayout =
    "1024x768+1024+0,1024x768+0+768,1024x768+1024+768*,1024x768+2048+768,1024x768+1024+1536";
inline constexpr platform::Rect kPrimary{1024, 768, 2048, 1536};
inline constexpr platform::Rect kScreen{0, 0, 3072, 2304};
inline constexpr int kPrimaryCenterX = 1536;
inline constexpr int kPrimaryCenterY = 1152;

// A test suite on a real Xorg with the cross layout, which becomes the process's DISPLAY.
class XorgSuite : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<XServer>(kCrossLayout);
    if (server_->Ok()) server_->Use();
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override { ASSERT_TRUE(server_->Ok()) << server_->Error(); }

 private:
  static inline std::unique_ptr<XServer> server_;
};

}  // namespace vorlix::test
