#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <vector>

#include "platform/system/Privilege.h"

namespace vorlix::platform {
namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNogroup = 65534;

std::optional<gid_t> Gid(const char* name) {
  const group* found = ::getgrnam(name);
  return found ? std::optional<gid_t>(found->gr_gid) : std::nullopt;
}

// Runs IsAdministrator in a child that became nobody with the given groups.
bool IsAdministratorAs(gid_t gid, const std::vector<gid_t>& supplementary) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgroups(supplementary.size(), supplementary.data()) != 0 || ::setgid(gid) != 0 ||
        ::setuid(kNobody) != 0) {
      ::_exit(2);
    }
    ::_exit(IsAdministrator() ? 1 : 0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not become nobody";
  return WIFEXITED(status) && WEXITSTATUS(status) == 1;
}

TEST(PrivilegeTest, RootIsAdministrator) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root";
  EXPECT_TRUE(IsAdministrator());
}

struct Identity {
  const char* what;
  const char* group;  // effective group; nullptr: nogroup
  std::vector<const char*> supplementary;
  bool administrator;
};

void PrintTo(const Identity& identity, std::ostream* out) { *out << identity.what; }

class AsNobody : public ::testing::TestWithParam<Identity> {};

TEST_P(AsNobody, AdministratorOnlyThroughSudoOrWheel) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to change identity";
  const Identity& identity = GetParam();
  gid_t gid = kNogroup;
  if (identity.group != nullptr) {
    const auto found = Gid(identity.group);
    if (!found) GTEST_SKIP() << "no group " << identity.group;
    gid = *found;
  }
  std::vector<gid_t> groups;
  for (const char* name : identity.supplementary) {
    const auto found = Gid(name);
    if (!found) GTEST_SKIP() << "no group " << name;
    groups.push_back(*found);
  }
  EXPECT_EQ(IsAdministratorAs(gid, groups), identity.administrator);
}

INSTANTIATE_TEST_SUITE_P(
    Privilege, AsNobody,
    ::testing::Values(Identity{"plain", nullptr, {}, false},
                      Identity{"other_groups", nullptr, {"users", "adm"}, false},
                      Identity{"sudo_supplementary", nullptr, {"users", "sudo"}, true},
                      Identity{"wheel_supplementary", nullptr, {"wheel"}, true},
                      Identity{"sudo_effective", "sudo", {}, true}),
    [](const ::testing::TestParamInfo<Identity>& row) { return row.param.what; });

}  // namespace
}  // namespace vorlix::platform
