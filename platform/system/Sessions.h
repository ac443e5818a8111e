#pragma once

#include <string>

#include "platform/system/SessionId.h"

namespace vorlix::platform {

// Where the session facts are read; tests point these at fixture files.
struct SessionSources {
  // Exists while logind runs; its "ACTIVE=" line names the session on the console.
  std::string seat0 = "/run/systemd/seats/seat0";
  // The own process's control groups; a session's processes sit in "session-<id>.scope".
  std::string ownCgroup = "/proc/self/cgroup";
};

// Without logind both functions give "0", so every process counts as being on the console.
// All three may be called from any thread.

// The session of the own process; unknown when it runs outside any session (a service).
SessionId ProcessSessionId(const SessionSources& sources = {});

// The session active on the console seat; unknown when none is active or seat0 is unreadable.
SessionId ActiveConsoleSessionId(const SessionSources& sources = {});

// The own process runs in the active console session.
bool IsConsoleSession(const SessionSources& sources = {});

}  // namespace vorlix::platform
