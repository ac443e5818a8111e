#include "drivers/evdev/EvdevDevice.h"

#include <fcntl.h>
#include <libevdev/libevdev.h>
#include <unistd.h>

#include <cerrno>

namespace vorlix::evdev {

ssize_t ReadInputEvents(int fd, std::span<input_event> out) {
  const ssize_t bytes = read(fd, out.data(), out.size_bytes());
  if (bytes < 0) return errno == EAGAIN ? 0 : -errno;
  // An event device hands out whole events only.
  if (bytes % sizeof(input_event) != 0) return -EIO;
  return bytes / static_cast<ssize_t>(sizeof(input_event));
}

EvdevDevice::~EvdevDevice() { Close(); }

int EvdevDevice::Open(const std::string& path) {
  Close();
  fd_ = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd_ < 0) return errno;
  const int rc = libevdev_new_from_fd(fd_, &dev_);
  if (rc < 0) {
    Close();
    return -rc;
  }
  Describe();
  return 0;
}

void EvdevDevice::Close() {
  if (dev_) libevdev_free(dev_);
  if (fd_ >= 0) close(fd_);
  dev_ = nullptr;
  fd_ = -1;
  name_.clear();
  phys_.clear();
  uniq_.clear();
  caps_ = {};
}

int EvdevDevice::SetGrabbed(bool grabbed) {
  if (!dev_) return EBADF;
  return -libevdev_grab(dev_, grabbed ? LIBEVDEV_GRAB : LIBEVDEV_UNGRAB);
}

void EvdevDevice::Describe() {
  const char* name = libevdev_get_name(dev_);
  name_ = name ? name : "";
  const char* phys = libevdev_get_phys(dev_);
  phys_ = phys ? phys : "";
  const char* uniq = libevdev_get_uniq(dev_);
  uniq_ = uniq ? uniq : "";
  caps_.busType = static_cast<uint16_t>(libevdev_get_id_bustype(dev_));
  for (unsigned code = 0; code < KEY_CNT; ++code)
    caps_.keys[code] = libevdev_has_event_code(dev_, EV_KEY, code);
  for (unsigned code = 0; code < REL_CNT; ++code)
    caps_.relatives[code] = libevdev_has_event_code(dev_, EV_REL, code);
}

}  // namespace vorlix::evdev
