#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>

#include "platform/system/Sessions.h"
#include "tests/platform/system/TestSupport.h"

namespace vorlix::platform {
namespace {

std::string Describe(const SessionId& id) { return id.IsKnown() ? id.Name() : "(unknown)"; }

struct SessionCase {
  const char* what;
  std::optional<std::string> seat0;  // nothing: logind does not run
  std::string cgroup;
  const char* xdgSession;  // the environment's XDG_SESSION_ID, or nullptr
  std::string own;
  std::string active;
  bool console;
};

TEST(SessionsTest, ReadsLogindStateOrCountsAsConsoleWithoutIt) {
  const std::string userSession = "0::/user.slice/user-1000.slice/session-3.scope\n";
  const SessionCase cases[] = {
      {"no logind", std::nullopt, userSession, nullptr, "0", "0", true},
      {"own session active", "IS_SEAT0=1\nACTIVE=3\nACTIVE_UID=1000\n", userSession, nullptr, "3",
       "3", true},
      {"another session active", "ACTIVE=1\n", "0::/user.slice/user-0.slice/session-12.scope\n",
       nullptr, "12", "1", false},
      {"cgroup v1 lines", "ACTIVE=c2\n",
       "2:cpu:/\n1:name=systemd:/user.slice/user-1000.slice/session-c2.scope\n0::/\n", nullptr,
       "c2", "c2", true},
      {"service outside any session", "ACTIVE=3\n", "0::/system.slice/ssh.service\n", nullptr,
       "(unknown)", "3", false},
      {"user manager is no session", "ACTIVE=3\n",
       "0::/user.slice/user-1000.slice/user@1000.service/app.slice/app-session-3.scope\n", nullptr,
       "(unknown)", "3", false},
      {"desktop program started from the active session", "ACTIVE=3\n",
       "0::/user.slice/user-1000.slice/user@1000.service/app.slice/app-quillory.scope\n", "3", "3",
       "3", true},
      {"nobody active, no session", "IS_SEAT0=1\nCAN_GRAPHICAL=1\n",
       "0::/system.slice/cron.service\n", nullptr, "(unknown)", "(unknown)", false},
      {"empty ACTIVE", "ACTIVE=\n", "0::/system.slice/cron.service\n", nullptr, "(unknown)",
       "(unknown)", false},
  };
  for (const SessionCase& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    const SessionSources sources{(dir.Path() / "seat0").string(), (dir.Path() / "cgroup").string()};
    if (c.seat0) std::ofstream(sources.seat0) << *c.seat0;
    std::ofstream(sources.ownCgroup) << c.cgroup;
    c.xdgSession ? ::setenv("XDG_SESSION_ID", c.xdgSession, 1) : ::unsetenv("XDG_SESSION_ID");

    EXPECT_EQ(Describe(ProcessSessionId(sources)), c.own);
    EXPECT_EQ(Describe(ActiveConsoleSessionId(sources)), c.active);
    EXPECT_EQ(IsConsoleSession(sources), c.console);
  }
}

}  // namespace
}  // namespace vorlix::platform
