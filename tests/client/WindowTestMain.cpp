// The window tests run on a real X server of their own, so that the control's display window
// is a real window the client can attach to.
#include <gtest/gtest.h>

#include <QApplication>

#include "tests/support/XServer.h"

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests needs no server.
  if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
  const vorlix::test::XServer server("800x600+0+0*,640x480+800+0");
  if (!server.Ok()) {
    std::fprintf(stderr, "no X server: %s\n", server.Error().c_str());
    return 1;
  }
  server.Use();
  qputenv("QT_QPA_PLATFORM", "xcb");
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
