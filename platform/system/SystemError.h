#pragma once

#include <cstdint>

namespace vorlix::platform {

// Maps a Linux errno onto the platform error number the rest of the system understands
// (ENOENT -> 2, EACCES/EPERM/EROFS -> 5, EBADF -> 6, ...). Unknown errno values map to 31.
uint32_t ErrorFromErrno(int err);

// ErrorFromErrno(errno).
uint32_t LastError();

}  // namespace vorlix::platform
