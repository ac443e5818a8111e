#pragma once

#include <functional>
#include <string>

namespace vorlix::evdev {

// Follows event nodes coming and going in a directory (/dev/input) through inotify.
class EvdevHotplug {
 public:
  using Handler = std::function<void(const std::string& path, bool added)>;

  EvdevHotplug() = default;
  EvdevHotplug(const EvdevHotplug&) = delete;
  EvdevHotplug& operator=(const EvdevHotplug&) = delete;
  ~EvdevHotplug();

  // 0 or an errno value.
  int Open(const std::string& directory);
  void Close();

  // Poll this for readability, then call ReadChanges.
  int Fd() const { return fd_; }

  // Calls `handler` for every event* node added or removed since the last call; never blocks.
  void ReadChanges(const Handler& handler);

 private:
  int fd_ = -1;
  std::string directory_;
};

}  // namespace vorlix::evdev
