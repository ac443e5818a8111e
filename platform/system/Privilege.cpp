#include "platform/system/Privilege.h"

#include <grp.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <vector>

namespace vorlix::platform {

namespace {

constexpr size_t kMaxGroupRecord = 1 << 20;

// The gid of a group by name; nothing when it does not exist or cannot be looked up.
std::optional<gid_t> GroupId(const char* name) {
  std::vector<char> buffer(16 * 1024);
  group record{};
  group* found = nullptr;
  int err;
  while ((err = ::getgrnam_r(name, &record, buffer.data(), buffer.size(), &found)) == ERANGE &&
         buffer.size() < kMaxGroupRecord) {
    buffer.resize(buffer.size() * 2);
  }
  if (err != 0 || found == nullptr) return std::nullopt;
  return found->gr_gid;
}

// The effective group and the supplementary groups; nothing on failure.
std::optional<std::vector<gid_t>> OwnGroups() {
  const int count = ::getgroups(0, nullptr);
  if (count < 0) return std::nullopt;
  std::vector<gid_t> groups(count);
  const int got = ::getgroups(count, groups.data());
  if (got < 0) return std::nullopt;
  groups.resize(got);
  groups.push_back(::getegid());
  return groups;
}

}  // namespace

bool IsAdministrator() {
  if (::geteuid() == 0) return true;
  const auto groups = OwnGroups();
  if (!groups) return false;
  for (const char* name : {"sudo", "wheel"}) {
    const auto gid = GroupId(name);
    if (gid && std::ranges::find(*groups, *gid) != groups->end()) return true;
  }
  return false;
}

}  // namespace vorlix::platform
