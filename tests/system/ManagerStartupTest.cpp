#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "tests/support/XServer.h"
#include "tests/system/SeatHarness.h"

namespace vorlix::test {
namespace {

using platform::Rect;

// A workplace's client: its command line, as /proc shows it.
std::vector<std::string> CommandLineOf(int pid) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline");
  std::vector<std::string> args;
  for (std::string arg; std::getline(in, arg, '\0');) args.push_back(arg);
  return args;
}

class ThreeMonitors : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = std::make_unique<XServer>("1280x1024+0+0*,1280x1024+1280+0,1024x768+2560+0");
  }
  static void TearDownTestSuite() { server_.reset(); }
  void SetUp() override {
    ASSERT_TRUE(server_->Ok()) << server_->Error();
    server_->Use();
    seat_.SetRegistryValue("TsHostName", "REG_SZ", "localhost");
  }
  // Starts the manager and waits until both clients cover their monitors.
  platform::Process StartManager() {
    platform::Process manager = seat_.Start("Quillory");
    EXPECT_TRUE(WaitFor([] { return MappedWindows("TermWindow").size() == 2; }))
        << "dialogs: " << ::testing::PrintToString(seat_.DialogLines());
    return manager;
  }

  static std::unique_ptr<XServer> server_;
  SeatHarness seat_;
};
std::unique_ptr<XServer> ThreeMonitors::server_;

TEST_F(ThreeMonitors, ClientsCoverExactlyTheSecondaryMonitors) {
  platform::Process manager = StartManager();
  auto windows = MappedWindows("TermWindow");
  std::sort(windows.begin(), windows.end(),
            [](const Rect& a, const Rect& b) { return a.left < b.left; });
  EXPECT_EQ(windows, (std::vector<Rect>{{1280, 0, 2560, 1024}, {2560, 0, 3584, 768}}));

  const auto clients = ChildrenOf(manager.Pid());
  ASSERT_EQ(clients.size(), 2u);
  for (const int pid : clients) {
    const auto args = CommandLineOf(pid);
    ASSERT_EQ(args.size(), 8u) << "the program and seven arguments";
    EXPECT_EQ(std::filesystem::path(args[0]).filename(), "vorlixcln");
  }
  const auto grid = seat_.GridLines();
  ASSERT_EQ(grid.size(), 3u);
  EXPECT_EQ(grid[0], "Monitor\tState\tKeyboard\tMouse");
  EXPECT_EQ(grid[1].substr(0, grid[1].find('\t')), "DUMMY1");
  EXPECT_EQ(grid[2].substr(0, grid[2].find('\t')), "DUMMY2");

  ::kill(manager.Pid(), SIGTERM);
  EXPECT_EQ(manager.Wait(20000), 0u);
  for (const int pid : clients)
    EXPECT_FALSE(IsAlive(pid)) << "closing the manager stops its clients";
  EXPECT_TRUE(seat_.DialogLines().empty());
}

TEST_F(ThreeMonitors, SecondInstanceIsRefusedAndAutostartEndsSilently) {
  platform::Process manager = StartManager();
  EXPECT_EQ(seat_.Run("Quillory", "autostart"), 0u);
  EXPECT_TRUE(seat_.DialogLines().empty()) << "autostart says nothing";
  EXPECT_EQ(seat_.Run("Quillory"), 0u);
  EXPECT_EQ(seat_.DialogLines(), std::vector<std::string>{"Error\tOK\tQuillory already started"});
  EXPECT_EQ(MappedWindows("TermWindow").size(), 2u) << "the first instance runs on";
  ::kill(manager.Pid(), SIGTERM);
  manager.Wait(20000);
}

TEST_F(ThreeMonitors, KilledManagerTakesItsClientsAlong) {
  platform::Process manager = StartManager();
  const auto clients = ChildrenOf(manager.Pid());
  ASSERT_EQ(clients.size(), 2u);
  ::kill(manager.Pid(), SIGKILL);
  manager.Wait(platform::kInfinite);
  EXPECT_TRUE(WaitFor([&] {
    return std::none_of(clients.begin(), clients.end(), [](int pid) { return IsAlive(pid); });
  }));
}

// The manager copied into a folder of its own with some of its companions, so that one of them
// can be missing or broken.
TEST_F(ThreeMonitors, MissingOrBrokenCompanionsAreFatal) {
  namespace fs = std::filesystem;
  const struct {
    std::vector<const char*> copied;
    const char* client;  // a script put in place of the client, or nullptr
    const char* dialog;
  } cases[] = {
      {{"libvorlixhooks.so", "msrdp.ocx", "libvorlixsurface.so"},
       nullptr,
       "Error\tAbort\tClient application vorlixcln is absent"},
      {{"libvorlixhooks.so", "vorlixcln"},
       nullptr,
       "Error\tAbort\tCan't register terminal services client ActiveX control"},
      {{"libvorlixhooks.so", "msrdp.ocx", "libvorlixsurface.so"},
       "#!/bin/sh\nexit 1\n",
       "Error\tAbort\tCan't start clients"},
  };
  int n = 0;
  for (const auto& c : cases) {
    SeatHarness seat;  // a registry of its own: the control is not registered yet
    const fs::path folder = seat.Root().Path() / ("bin" + std::to_string(n++));
    fs::create_directories(folder);
    fs::copy_file(fs::path(BIN_DIR) / "Quillory", folder / "Quillory");
    for (const char* file : c.copied) fs::copy_file(fs::path(BIN_DIR) / file, folder / file);
    if (c.client) {
      std::ofstream(folder / "vorlixcln") << c.client;
      fs::permissions(folder / "vorlixcln", fs::perms::owner_all);
    }
    EXPECT_EQ(seat.Run("Quillory", "", folder), 0u);
    EXPECT_EQ(seat.DialogLines(), std::vector<std::string>{c.dialog});
  }
}

// Fatal start-up messages that depend on the monitors alone.
struct MonitorCase {
  const char* name;
  const char* layout;
  const char* extra;
  const char* dialog;
};

class MonitorLayouts : public ::testing::TestWithParam<MonitorCase> {};

TEST_P(MonitorLayouts, NoWorkplaceMonitorIsFatal) {
  XServer server(GetParam().layout, GetParam().extra);
  ASSERT_TRUE(server.Ok()) << server.Error();
  server.Use();
  SeatHarness seat;
  EXPECT_EQ(seat.Run("Quillory"), 0u);
  EXPECT_EQ(seat.DialogLines(), std::vector<std::string>{GetParam().dialog});
}

INSTANTIATE_TEST_SUITE_P(
    Startup, MonitorLayouts,
    ::testing::Values(
        MonitorCase{"OnlyThePrimary", "1280x1024+0+0*", "",
                    "Error\tAbort\tYour don't have secondary monitors attached to desktop"},
        MonitorCase{"SecondaryNotOnTheDesktop", "1280x1024+0+0*", "--detached 800x600",
                    "Error\tAbort\tNo monitors for client windows.\\nYour PC has 1 secondary "
                    "monitors\\nYou have to add them to desktop \\nto use with this application"}),
    [](const ::testing::TestParamInfo<MonitorCase>& param) { return param.param.name; });

}  // namespace
}  // namespace vorlix::test
