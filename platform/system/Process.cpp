#include "platform/system/Process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <utility>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/system/CommandLine.h"
#include "platform/system/SystemError.h"

namespace vorlix::platform {

namespace {

// The nice value of the high priority class; normal is 0.
constexpr int kHighNice = -10;

// 1 when fd became readable, 0 when the time ran out, -1 on failure (errno tells).
int WaitReadable(int fd, uint32_t timeoutMs) {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int waitMs = -1;
    if (timeoutMs != kInfinite) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      waitMs = static_cast<int>(std::clamp<int64_t>(left.count(), 0, INT_MAX));
    }
    pollfd p{fd, POLLIN, 0};
    const int n = ::poll(&p, 1, waitMs);
    if (n > 0) return 1;
    if (n == 0 && waitMs == 0) return 0;
    if (n < 0 && errno != EINTR) return -1;
  }
}

// A child we cannot keep track of is not left running unseen.
void EndUntracked(pid_t pid) {
  ::kill(pid, SIGKILL);
  while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
  }
}

}  // namespace

uint32_t Process::Spawn(const std::string& program, const std::string& commandLine,
                        PriorityClass priority, Process& out) {
  std::vector<std::string> args = SplitCommandLine(commandLine);
  if (args.empty()) args.push_back(program);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);

  pid_t pid = -1;
  const int err = ::posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), environ);
  if (err != 0) return ErrorFromErrno(err);
  // Through syscall: glibc 2.36 declares pidfd_open without C linkage for C++.
  Handle pidfd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0)));
  if (!pidfd) {
    const uint32_t error = LastError();
    EndUntracked(pid);
    return error;
  }
  // Refused without the right to raise priority; the child then runs at normal priority.
  if (priority == PriorityClass::High) ::setpriority(PRIO_PROCESS, pid, kHighNice);
  out = Process(pid, std::move(pidfd));
  return ERROR_SUCCESS;
}

Process::Process(Process&& other) noexcept { *this = std::move(other); }

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    pid_ = std::exchange(other.pid_, -1);
    pidfd_ = std::move(other.pidfd_);
    exitCode_ = std::exchange(other.exitCode_, kStillActive);
    ended_ = std::exchange(other.ended_, false);
  }
  return *this;
}

uint32_t Process::Wait(uint32_t timeoutMs) {
  if (ended_) return ERROR_SUCCESS;
  if (!pidfd_) return ERROR_INVALID_HANDLE;
  const int ready = WaitReadable(pidfd_.Get(), timeoutMs);
  if (ready < 0) return LastError();
  if (ready == 0) return ERROR_TIMEOUT;

  siginfo_t info{};
  int reaped;
  do {
    reaped = ::waitid(P_PIDFD, static_cast<id_t>(pidfd_.Get()), &info, WEXITED);
  } while (reaped != 0 && errno == EINTR);
  if (reaped != 0) return LastError();
  exitCode_ =
      static_cast<uint32_t>(info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status);
  ended_ = true;
  return ERROR_SUCCESS;
}

}  // namespace vorlix::platform
