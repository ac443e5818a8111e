#include <gtest/gtest.h>

#include <signal.h>

#include <fstream>
#include <sstream>

#include "platform/system/Process.h"
#include "tests/support/InputServiceFixture.h"
#include "tests/system/SeatHarness.h"

namespace vorlix::test {
namespace {

// What an operator sees of the input service through vorlixinput.
class InputTool : public InputServiceFixture {
 protected:
  static std::string Output(const std::string& arguments) {
    return RunTool(std::string(VORLIXINPUT) + " " + arguments).output;
  }
  // Starts `vorlixinput watch ...` with its output going to a file.
  platform::Process Watch(const std::string& arguments, const std::string& out) {
    platform::Process watch;
    const std::string line = "/bin/sh -c \"exec " + std::string(VORLIXINPUT) + " watch " +
                             arguments + " >" + out + " 2>&1\"";
    EXPECT_EQ(platform::Process::Spawn("/bin/sh", line, platform::PriorityClass::Normal, watch),
              0u);
    return watch;
  }
};

TEST_F(InputTool, DevicesAreListedAndWatchedByTheirIds) {
  Tool("plug keyboard k1");
  Tool("plug keyboard k2");
  Tool("plug mouse m1 --ps2");
  std::istringstream devices(Output("devices"));
  std::vector<std::string> rows;
  for (std::string row; std::getline(devices, row);) rows.push_back(row.substr(0, row.rfind('\t')));
  EXPECT_EQ(rows, (std::vector<std::string>{"keyboard\t0\t1", "keyboard\t1\t1", "mouse\t0\t1"}));
  const std::string all = Output("devices");
  EXPECT_NE(all.find("\\HID#VID_0000&PID_0000#vorlix&k1#"), std::string::npos);
  EXPECT_EQ(all.find("HID#", all.find("mouse\t")), std::string::npos) << "a PS/2 path has no HID";

  const std::string out = (root_.Path() / "watch.txt").string();
  platform::Process watch = Watch("keyboard 0", out);
  // Once the watch has the keyboard open, what is typed shows in its output.
  ASSERT_TRUE(WaitFor([&] {
    Tool("key k1 0x1c");
    return !ReadLines(out).empty();
  }));
  const size_t before = ReadLines(out).size();
  Tool("type k1 ab");
  ASSERT_TRUE(WaitFor([&] { return ReadLines(out).size() >= before + 4; }));
  const auto units = ReadLines(out);
  const char* expected[] = {"scan=0x1e flags=0x8", "scan=0x1e flags=0xa", "scan=0x30 flags=0x8",
                            "scan=0x30 flags=0xa"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_NE(units[before + i].find(expected[i]), std::string::npos) << units[before + i];
  }
  const auto second = RunTool("timeout 10 " + std::string(VORLIXINPUT) + " watch keyboard 0");
  EXPECT_NE(second.exitCode, 0);
  EXPECT_NE(second.output.find("error 32"), std::string::npos) << second.output;
  ::kill(watch.Pid(), SIGTERM);
  watch.Wait(kGenerous);

  Tool("unplug k1");
  Tool("plug keyboard k1");
  EXPECT_EQ(Output("devices").find("keyboard\t0\t1\t\\\\?\\HID#VID_0000&PID_0000#vorlix&k1#"), 0u)
      << "k1 keeps id 0";
}

}  // namespace
}  // namespace vorlix::test
