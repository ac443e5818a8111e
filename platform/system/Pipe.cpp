#include "platform/system/Pipe.h"

#include <fcntl.h>
#include <poll.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <ctime>

#include "common/ResultCodes.h"
#include "platform/system/Event.h"
#include "platform/system/SystemError.h"

namespace vorlix::platform {

namespace {

// 0 or the errno of the failed write.
int WriteLoop(int fd, const char* data, size_t size, size_t& written) {
  while (written < size) {
    const ssize_t n = ::write(fd, data + written, size - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    written += static_cast<size_t>(n);
  }
  return 0;
}

bool SigpipePending() {
  sigset_t pending;
  return ::sigpending(&pending) == 0 && ::sigismember(&pending, SIGPIPE) == 1;
}

}  // namespace

uint32_t CreatePipe(bool inheritable, Handle& readEnd, Handle& writeEnd) {
  int fds[2];
  if (::pipe2(fds, inheritable ? 0 : O_CLOEXEC) != 0) return LastError();
  readEnd.Reset(fds[0]);
  writeEnd.Reset(fds[1]);
  return ERROR_SUCCESS;
}

uint32_t DuplicateHandle(const Handle& source, bool inheritable, Handle& copy) {
  const int fd = ::fcntl(source.Get(), inheritable ? F_DUPFD : F_DUPFD_CLOEXEC, 0);
  if (fd < 0) return LastError();
  copy.Reset(fd);
  return ERROR_SUCCESS;
}

uint32_t WriteWhole(int fd, const void* data, size_t size, size_t& written) {
  written = 0;
  // The SIGPIPE of a write goes to the writing thread; blocked, it stays pending and is taken
  // back below. The process-wide disposition belongs to the application and is not touched.
  sigset_t sigpipe, previous;
  ::sigemptyset(&sigpipe);
  ::sigaddset(&sigpipe, SIGPIPE);
  ::pthread_sigmask(SIG_BLOCK, &sigpipe, &previous);
  const bool pendingBefore = SigpipePending();

  const int err = WriteLoop(fd, static_cast<const char*>(data), size, written);
  if (err == EPIPE && !pendingBefore) {
    const timespec noWait{};
    while (::sigtimedwait(&sigpipe, nullptr, &noWait) < 0 && errno == EINTR) {
    }
  }
  ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return ErrorFromErrno(err);
}

uint32_t ReadWhole(int fd, void* data, size_t size, size_t& read) {
  return ReadWholeWithin(fd, data, size, read, kInfinite);
}

uint32_t ReadWholeWithin(int fd, void* data, size_t size, size_t& read, uint32_t timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  read = 0;
  if (fd < 0) return ERROR_INVALID_HANDLE;  // poll would wait on it for ever
  while (read < size) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    pollfd p{fd, POLLIN, 0};
    const int waitMs =
        timeoutMs == kInfinite ? -1 : static_cast<int>(std::max<int64_t>(left.count(), 0));
    const int ready = ::poll(&p, 1, waitMs);
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) return LastError();
    if (ready == 0) return ERROR_TIMEOUT;
    const ssize_t n = ::read(fd, static_cast<char*>(data) + read, size - read);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return LastError();
    if (n == 0) return ERROR_BROKEN_PIPE;
    read += static_cast<size_t>(n);
  }
  return ERROR_SUCCESS;
}

}  // namespace vorlix::platform
