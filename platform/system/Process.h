#pragma once

#include <cstdint>
#include <string>

#include "platform/system/Event.h"
#include "platform/system/Handle.h"

namespace vorlix::platform {

enum class PriorityClass { Normal, High };

// A child process started by Spawn, held through a pidfd. Destroying or moving the object only
// lets go of that descriptor: the process runs on. Wait reaps the child once it has ended;
// a child never waited for stays a zombie until this process ends. This relies on nothing else
// in the process reaping children (no SIGCHLD ignored, no waitpid(-1)).
// One object is used by one thread at a time; Spawn may be called from any thread.
class Process {
 public:
  // What ExitCode() gives while the process has not been seen to end.
  static constexpr uint32_t kStillActive = 259;

  // Starts program (a full path) with the arguments of commandLine (split by SplitCommandLine;
  // its first argument becomes argv[0]; an empty line gives argv[0] = program), this process's
  // environment and current folder. The child inherits exactly the descriptors that are not
  // close-on-exec. High asks for nice -10 and keeps the normal priority when that is refused.
  // Returns 0 with out holding the child, or a platform error number (ERROR_FILE_NOT_FOUND for
  // a missing program, ERROR_ACCESS_DENIED for one that may not run, ...) with out unchanged.
  static uint32_t Spawn(const std::string& program, const std::string& commandLine,
                        PriorityClass priority, Process& out);

  Process() = default;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;

  // Waits at most timeoutMs (kInfinite: no limit) for the process to end.
  // 0: it has ended and is reaped (again 0 on later calls); ERROR_TIMEOUT: still running;
  // ERROR_INVALID_HANDLE: no process held; other numbers: the wait itself failed.
  uint32_t Wait(uint32_t timeoutMs);

  // The process id; -1 when none is held.
  int Pid() const { return pid_; }
  bool IsValid() const { return pid_ >= 0; }
  // The exit status once Wait returned 0; 128 + the signal number when a signal ended it;
  // kStillActive before.
  uint32_t ExitCode() const { return exitCode_; }

 private:
  Process(int pid, Handle pidfd) : pid_(pid), pidfd_(std::move(pidfd)) {}

  int pid_ = -1;
  Handle pidfd_;
  uint32_t exitCode_ = kStillActive;
  bool ended_ = false;
};

}  // namespace vorlix::platform
