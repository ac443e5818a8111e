#pragma once

#include <cstdint>
#include <string_view>

#include "platform/system/Handle.h"

namespace vorlix::platform {

// A machine-wide named mutex such as "Global\VorlixMutex": an exclusive flock on a lock file in
// RuntimeDir(). The lock is held as long as the object lives; the kernel drops it when the
// holder ends in any way (even SIGKILL), so no stale lock remains. The descriptor is
// close-on-exec, so child processes never hold the mutex. Names are case-sensitive.
// Create may be called from any thread; an object is used by one thread at a time.
class NamedMutex {
 public:
  // Result():
  //  0                     created: this object holds the mutex;
  //  ERROR_ALREADY_EXISTS  another holder (any process, this one included) has it; nothing held;
  //  other                 failure (the folder or lock file cannot be made, ...); nothing held.
  static NamedMutex Create(std::string_view name);

  NamedMutex(NamedMutex&&) noexcept = default;
  NamedMutex& operator=(NamedMutex&&) noexcept = default;

  uint32_t Result() const { return result_; }
  bool IsHeld() const { return lock_.IsValid(); }

 private:
  NamedMutex(Handle lock, uint32_t result) : lock_(std::move(lock)), result_(result) {}

  Handle lock_;
  uint32_t result_;
};

}  // namespace vorlix::platform
