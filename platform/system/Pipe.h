#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/system/Handle.h"

namespace vorlix::platform {

// Anonymous pipes and handle inheritance. An inheritable descriptor is one without
// close-on-exec: every process spawned while it is open gets it, whichever thread spawns. So
// create inheritable ends right before the spawn that needs them, and close them right after.
// All functions may be called from any thread. Results are 0 or a platform error number.

// A new pipe; both ends inheritable or both not.
uint32_t CreatePipe(bool inheritable, Handle& readEnd, Handle& writeEnd);

// A second descriptor for what source refers to, inheritable or not.
uint32_t DuplicateHandle(const Handle& source, bool inheritable, Handle& copy);

// Blocks until all size bytes are written. A pipe without reader gives ERROR_BROKEN_PIPE and
// never raises SIGPIPE; the calling thread's signal mask and pending signals are left as found.
// written tells how many bytes went out, also on failure.
uint32_t WriteWhole(int fd, const void* data, size_t size, size_t& written);

// Blocks until size bytes are read; 0 only when all arrived. The writer's end closing first
// gives ERROR_BROKEN_PIPE, other failures their own number; read tells how many bytes came.
uint32_t ReadWhole(int fd, void* data, size_t size, size_t& read);

// ReadWhole that gives up once timeoutMs (kInfinite: never) have passed without all bytes:
// ERROR_TIMEOUT.
uint32_t ReadWholeWithin(int fd, void* data, size_t size, size_t& read, uint32_t timeoutMs);

}  // namespace vorlix::platform
