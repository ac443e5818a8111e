#include "platform/system/SystemError.h"

#include <cerrno>

#include "common/ResultCodes.h"

namespace vorlix::platform {

uint32_t ErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return ERROR_SUCCESS;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EMFILE:
    case ENFILE:
      return ERROR_TOO_MANY_OPEN_FILES;
    case EACCES:
    case EPERM:
    case EROFS:
      return ERROR_ACCESS_DENIED;
    case EBADF:
      return ERROR_INVALID_HANDLE;
    case ENOMEM:
    case ENOSPC:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EBUSY:
    case ETXTBSY:
      return ERROR_SHARING_VIOLATION;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case EINVAL:
      return ERROR_INVALID_PARAMETER;
    case EPIPE:
    case ECONNRESET:
      return ERROR_BROKEN_PIPE;
    case ENAMETOOLONG:
      return ERROR_INVALID_NAME;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ETIMEDOUT:
      return ERROR_TIMEOUT;
    case ENODEV:
    case ENXIO:
      return ERROR_DEVICE_NOT_CONNECTED;
    case EIO:
      return ERROR_READ_FAULT;
    case ENOSYS:
    case EOPNOTSUPP:
      return ERROR_NOT_SUPPORTED;
    default:
      return ERROR_GEN_FAILURE;
  }
}

uint32_t LastError() { return ErrorFromErrno(errno); }

}  // namespace vorlix::platform
