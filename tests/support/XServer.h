#pragma once

#include <cstdlib>
#include <string>

#include "tests/support/RunTool.h"

namespace vorlix::test {

// A real Xorg server (dummy video driver) with the given monitor layout, for one test suite,
// started with scripts/xdisplay and stopped at the end. Layout as `xdisplay --monitors` takes it,
// e.g. "1280x1024+0+0*,1024x768+1280+0"; `extra` passes "--detached WxH" or "--mirror N".
class XServer {
 public:
  explicit XServer(const std::string& layout, const std::string& extra = "") {
    const auto started = RunTool(std::string(VORLIX_SOURCE_DIR) +
                                 "/scripts/xdisplay start --monitors '" + layout + "' " + extra);
    if (started.exitCode == 0 && !started.output.empty() && started.output.front() == ':') {
      display_ = started.output.substr(0, started.output.find('\n'));
    } else {
      error_ = started.output;
    }
  }
  ~XServer() {
    if (!display_.empty())
      RunTool(std::string(VORLIX_SOURCE_DIR) + "/scripts/xdisplay stop " + display_);
  }
  XServer(const XServer&) = delete;
  XServer& operator=(const XServer&) = delete;

  bool Ok() const { return !display_.empty(); }
  const std::string& Display() const { return display_; }
  // What xdisplay said when it failed.
  const std::string& Error() const { return error_; }
  // Makes this server the process's DISPLAY.
  void Use() const { ::setenv("DISPLAY", display_.c_str(), 1); }

 private:
  std::string display_;
  std::string error_;
};

}  // namespace vorlix::test
