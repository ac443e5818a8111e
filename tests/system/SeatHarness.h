#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/display/Rect.h"
#include "platform/system/Process.h"
#include "tests/support/ReadLines.h"
#include "tests/support/TempRoot.h"

namespace vorlix::test {

// Runs the real programs for the end-to-end tests: a fresh VORLIX_ROOT, message boxes answered
// into a log, the manager's grid written to a file.
class SeatHarness {
 public:
  SeatHarness();

  // Starts a program from `folder` (the build's bin folder by default) with arguments.
  platform::Process Start(const std::string& program, const std::string& arguments = "",
                          const std::string& folder = BIN_DIR);
  // Runs it to its end; returns its exit code.
  uint32_t Run(const std::string& program, const std::string& arguments = "",
               const std::string& folder = BIN_DIR);

  std::vector<std::string> DialogLines() const;
  std::vector<std::string> GridLines() const;
  void SetRegistryValue(const std::string& name, const std::string& type, const std::string& data);

  const TempRoot& Root() const { return root_; }

 private:
  TempRoot root_;
};

// Waits, processing nothing, until `done` holds or the deadline passes; returns `done()`.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::milliseconds deadline = std::chrono::seconds(20));

// The pids of the living children of `parent`.
std::vector<int> ChildrenOf(int parent);
bool IsAlive(int pid);

// Top-level windows of the display named `title` that are mapped, with their rectangles.
std::vector<platform::Rect> MappedWindows(const std::string& title);

}  // namespace vorlix::test
