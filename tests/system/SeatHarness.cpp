#include "tests/system/SeatHarness.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/RunTool.h"

namespace vorlix::test {

namespace {

std::string StatField(int pid, int field) {
  std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
  std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const auto close = stat.rfind(')');
  if (close == std::string::npos) return {};
  std::istringstream rest(stat.substr(close + 2));
  std::string value;
  for (int i = 3; i <= field && rest >> value; ++i) {
  }
  return value;
}

}  // namespace

SeatHarness::SeatHarness() {
  ::setenv("VORLIX_DIALOG_LOG", (root_.Path() / "dialogs.log").c_str(), 1);
  ::setenv("VORLIX_GRID_FILE", (root_.Path() / "grid.txt").c_str(), 1);
  const auto runtime = root_.Path() / "xdg";
  std::filesystem::create_directory(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
}

platform::Process SeatHarness::Start(const std::string& program, const std::string& arguments,
                                     const std::string& folder) {
  platform::Process process;
  const std::string path = folder + "/" + program;
  platform::Process::Spawn(path, "\"" + path + "\" " + arguments, platform::PriorityClass::Normal,
                           process);
  return process;
}

uint32_t SeatHarness::Run(const std::string& program, const std::string& arguments,
                          const std::string& folder) {
  platform::Process process = Start(program, arguments, folder);
  if (process.Wait(60000) != 0) {
    ::kill(process.Pid(), SIGKILL);
    process.Wait(platform::kInfinite);
    return 0xFFFFFFFF;
  }
  return process.ExitCode();
}

std::vector<std::string> SeatHarness::DialogLines() const {
  return ReadLines(root_.Path() / "dialogs.log");
}

std::vector<std::string> SeatHarness::GridLines() const {
  return ReadLines(root_.Path() / "grid.txt");
}

void SeatHarness::SetRegistryValue(const std::string& name, const std::string& type,
                                   const std::string& data) {
  RunTool(std::string(BIN_DIR) + "/vorlixreg add 'HKLM\\Software\\Brackenholt\\Vorlix' /v " + name +
          " /t " + type + " /d '" + data + "' /f");
}

bool WaitFor(const std::function<bool()>& done, std::chrono::milliseconds deadline) {
  const auto end = std::chrono::steady_clock::now() + deadline;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return true;
}

std::vector<int> ChildrenOf(int parent) {
  std::vector<int> children;
  DIR* proc = ::opendir("/proc");
  while (const dirent* e = ::readdir(proc)) {
    const int pid = std::atoi(e->d_name);
    if (pid > 0 && StatField(pid, 4) == std::to_string(parent) && IsAlive(pid)) {
      children.push_back(pid);
    }
  }
  ::closedir(proc);
  return children;
}

bool IsAlive(int pid) {
  const std::string state = StatField(pid, 3);
  return !state.empty() && state != "Z";
}

std::vector<platform::Rect> MappedWindows(const std::string& title) {
  std::vector<platform::Rect> found;
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return found;
  Window root, parent, *children = nullptr;
  unsigned count = 0;
  XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
  for (unsigned i = 0; i < count; ++i) {
    char* name = nullptr;
    XWindowAttributes attributes;
    if (!XFetchName(display, children[i], &name) || name == nullptr) continue;
    const bool match = title == name;
    XFree(name);
    if (!match || !XGetWindowAttributes(display, children[i], &attributes) ||
        attributes.map_state != IsViewable) {
      continue;
    }
    found.push_back({attributes.x, attributes.y, attributes.x + attributes.width,
                     attributes.y + attributes.height});
  }
  if (children) XFree(children);
  XCloseDisplay(display);
  return found;
}

}  // namespace vorlix::test
