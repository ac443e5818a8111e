// Before Xlib, whose macros break it.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

#include "tests/support/ReadLines.h"
#include "tests/support/RunTool.h"
#include "tests/support/ScreenSamples.h"
#include "tests/support/TempRoot.h"
#include "tests/support/TestServer.h"
#include "tests/support/XServer.h"

namespace vorlix::platform {
namespace {

using namespace std::chrono_literals;

// The screen's pixels in the area rdpprobe shows its session in.
std::vector<unsigned long> Grab() { return test::ScreenSamples(0, 0, 320, 240, 4); }

TEST(ImportTableTest, ControlModuleImportsBitBltAndSetCursorFromTheNamedLibraries) {
  const auto symbols = test::RunTool("readelf -W --dyn-syms " + std::string(MSRDP_MODULE));
  ASSERT_EQ(symbols.exitCode, 0) << symbols.output;
  EXPECT_NE(symbols.output.find(" UND BitBlt@gdi32.dll"), std::string::npos);
  EXPECT_NE(symbols.output.find(" UND SetCursor@user32.dll"), std::string::npos);
  const auto dynamic = test::RunTool("readelf -W -d " + std::string(MSRDP_MODULE));
  EXPECT_NE(dynamic.output.find("BIND_NOW"), std::string::npos) << "a read-only import table";
}

TEST(ImportTableTest, SessionPictureAndPointerShapeGoThroughTheImports) {
  const test::XServer x("640x480+0+0*");
  ASSERT_TRUE(x.Ok()) << x.Error();
  x.Use();
  const test::TempRoot root;
  test::TestServer server(root.Path());
  ASSERT_TRUE(server.Ok());
  const std::string spyFile = (root.Path() / "spy.txt").string();
  // The probe shows its session on the X server, not on the tests' offscreen platform.
  test::ToolProcess probe("env -u QT_QPA_PLATFORM LD_PRELOAD=" + std::string(IMPORT_SPY) +
                          " VORLIX_IMPORT_SPY=" + spyFile + " " + RDPPROBE +
                          " --server 127.0.0.1:" + std::to_string(server.Port()) + " --seconds 20");
  for (auto line = probe.ReadLine(20s); line != "OnLoginComplete"; line = probe.ReadLine(20s)) {
    ASSERT_TRUE(line) << "no log-on";
  }
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (test::ReadLines(spyFile).size() < 2 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(50ms);
  }
  auto calls = test::ReadLines(spyFile);
  std::sort(calls.begin(), calls.end());
  EXPECT_EQ(calls, (std::vector<std::string>{"BitBlt", "SetCursor"}));

  const auto before = Grab();
  ASSERT_FALSE(before.empty());
  std::this_thread::sleep_for(500ms);
  EXPECT_NE(Grab(), before) << "the moving picture reaches the screen";
}

}  // namespace
}  // namespace vorlix::platform
