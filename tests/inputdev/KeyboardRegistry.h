#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>

#include "inputdev/TZephKbdMgr.h"
#include "tests/support/RunTool.h"

namespace vorlix::test {

// The argument that makes inputdev_tests print ListDevices of the keyboards and exit.
inline constexpr const char* kListKeyboards = "--list-keyboards";

// "state N" as the list request leaves it, then one line per device: id counted from `base`,
// present 1/0, path.
inline std::string ListDevices(const TZephKbdMgr& keyboards, int32_t base) {
  const auto devices = keyboards.GetDeviceList();
  std::string out = "state " + std::to_string(keyboards.GetState()) + "\n";
  for (const InpDevInfo& device : devices) {
    out += std::to_string(device.Id - base) + "\t" + (device.Present ? "1" : "0") + "\t" +
           device.Path + "\n";
  }
  return out;
}

// The same listing, made by a fresh process on the same registry.
inline std::string ListInChild() {
  const auto self = std::filesystem::read_symlink("/proc/self/exe").string();
  const ToolResult result = RunTool(self + " " + kListKeyboards);
  EXPECT_EQ(result.exitCode, 0) << result.output;
  return result.output;
}

// Waits (ctest's time limit applies) until the registry has seen its change watch fire, which
// the registry watcher reports from a thread of its own.
inline void AwaitChange(const TZephKbdMgr& keyboards) {
  while (keyboards.GetState() != dsChanged) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

}  // namespace vorlix::test
