#include "platform/system/Sessions.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace vorlix::platform {

namespace {

const SessionId kNoSessionManager("0");

bool LogindRuns(const SessionSources& sources) {
  return ::access(sources.seat0.c_str(), F_OK) == 0;
}

// "0::/user.slice/user-1000.slice/session-3.scope" -> "3"; only a whole path segment counts.
SessionId SessionOfCgroupLine(std::string_view line) {
  constexpr std::string_view kPrefix = "session-";
  constexpr std::string_view kSuffix = ".scope";
  while (!line.empty()) {
    const size_t slash = line.find('/');
    const std::string_view segment = line.substr(0, slash);
    if (segment.size() > kPrefix.size() + kSuffix.size() && segment.starts_with(kPrefix) &&
        segment.ends_with(kSuffix)) {
      return SessionId(std::string(
          segment.substr(kPrefix.size(), segment.size() - kPrefix.size() - kSuffix.size())));
    }
    if (slash == std::string_view::npos) break;
    line.remove_prefix(slash + 1);
  }
  return SessionId();
}

}  // namespace

SessionId ProcessSessionId(const SessionSources& sources) {
  if (!LogindRuns(sources)) return kNoSessionManager;
  std::ifstream cgroup(sources.ownCgroup);
  std::string line;
  while (std::getline(cgroup, line)) {
    SessionId id = SessionOfCgroupLine(line);
    if (id.IsKnown()) return id;
  }
  // Desktops start programs in the user's service manager, outside the session's scope; they
  // still carry the session they were started from in their environment.
  const char* fromEnvironment = std::getenv("XDG_SESSION_ID");
  if (fromEnvironment != nullptr && *fromEnvironment != '\0') return SessionId(fromEnvironment);
  return SessionId();
}

SessionId ActiveConsoleSessionId(const SessionSources& sources) {
  if (!LogindRuns(sources)) return kNoSessionManager;
  constexpr std::string_view kActive = "ACTIVE=";
  std::ifstream seat(sources.seat0);
  std::string line;
  while (std::getline(seat, line)) {
    if (line.starts_with(kActive) && line.size() > kActive.size()) {
      return SessionId(line.substr(kActive.size()));
    }
  }
  return SessionId();
}

bool IsConsoleSession(const SessionSources& sources) {
  return ProcessSessionId(sources) == ActiveConsoleSessionId(sources);
}

}  // namespace vorlix::platform
