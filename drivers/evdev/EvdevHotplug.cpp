#include "drivers/evdev/EvdevHotplug.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace vorlix::evdev {

EvdevHotplug::~EvdevHotplug() { Close(); }

int EvdevHotplug::Open(const std::string& directory) {
  Close();
  fd_ = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd_ < 0) return errno;
  // udev grants access after the node appears, so a change of attributes counts as an arrival.
  if (inotify_add_watch(fd_, directory.c_str(), IN_CREATE | IN_ATTRIB | IN_DELETE) < 0) {
    const int error = errno;
    Close();
    return error;
  }
  directory_ = directory;
  return 0;
}

void EvdevHotplug::Close() {
  if (fd_ >= 0) close(fd_);
  fd_ = -1;
}

void EvdevHotplug::ReadChanges(const Handler& handler) {
  alignas(inotify_event) char buffer[16 * (sizeof(inotify_event) + NAME_MAX + 1)];
  ssize_t bytes;
  while ((bytes = read(fd_, buffer, sizeof buffer)) > 0) {
    for (ssize_t at = 0; at < bytes;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      const std::string_view name = event->len ? event->name : "";
      if (!name.starts_with("event")) continue;
      handler(directory_ + "/" + std::string(name), (event->mask & IN_DELETE) == 0);
    }
  }
}

}  // namespace vorlix::evdev
