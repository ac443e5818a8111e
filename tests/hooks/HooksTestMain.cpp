#include <gtest/gtest.h>

#include <QCoreApplication>

// The hook host reads the X server from the Qt event loop.
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
