#include "platform/system/Handle.h"

#include <unistd.h>

namespace vorlix::platform {

void Handle::Reset(int fd) {
  if (fd_ >= 0 && fd_ != fd) ::close(fd_);
  fd_ = fd;
}

}  // namespace vorlix::platform
