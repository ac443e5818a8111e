#pragma once

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <string>
#include <thread>

#include "platform/devices/FrameSocket.h"
#include "platform/system/Process.h"
#include "tests/support/RunTool.h"
#include "tests/support/TempRoot.h"

namespace vorlix::test {

// The real input service on a fresh VORLIX_ROOT, driven with vorlixinput.
class InputServiceFixture : public ::testing::Test {
 protected:
  static constexpr uint32_t kGenerous = 10000;

  void SetUp() override { StartService(); }
  void TearDown() override { StopService(); }

  void StartService() {
    using platform::PriorityClass;
    // Real devices stay out of tests: only the virtual ones of vorlixinput are served.
    ASSERT_EQ(platform::Process::Spawn(VORLIXINPUTD, "vorlixinputd --no-evdev",
                                       PriorityClass::Normal, service_),
              0u);
    platform::Handle probe;
    while (platform::ConnectToInputService(probe) != 0) {
      ASSERT_NE(service_.Wait(10), 0u) << "the service ended at start";
    }
  }
  // Stops the service with SIGTERM, unless it has ended already; it must end cleanly.
  void StopService() {
    if (!service_.IsValid() || service_.Wait(0) == 0) return;
    ::kill(service_.Pid(), SIGTERM);
    EXPECT_EQ(service_.Wait(kGenerous), 0u);
    EXPECT_EQ(service_.ExitCode(), 0u);
  }

  static void Tool(const std::string& arguments) {
    const ToolResult result = RunTool(std::string(VORLIXINPUT) + " " + arguments);
    ASSERT_EQ(result.exitCode, 0) << arguments << ": " << result.output;
  }

  TempRoot root_;
  platform::Process service_;
};

}  // namespace vorlix::test
