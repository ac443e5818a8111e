#include "platform/registry/RegistryWatcher.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

#include "common/ResultCodes.h"
#include "platform/system/SystemError.h"

namespace vorlix::platform {

namespace {

constexpr uint32_t kMask = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE |
                           IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;

std::vector<std::string> SubFolders(const std::string& folder) {
  std::vector<std::string> out;
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return out;
  while (const dirent* e = ::readdir(dir)) {
    const std::string name = e->d_name;
    if (name.front() == '.') continue;  // ".", ".." and our temporary entries
    if (e->d_type == DT_DIR || e->d_type == DT_UNKNOWN) out.push_back(folder + "/" + name);
  }
  ::closedir(dir);
  return out;
}

void Signal(const Handle& event) {
  const uint64_t one = 1;
  [[maybe_unused]] auto written = ::write(event.Get(), &one, sizeof one);
}

}  // namespace

RegistryWatcher& RegistryWatcher::Instance() {
  static RegistryWatcher watcher;
  return watcher;
}

RegistryWatcher::~RegistryWatcher() {
  if (thread_.joinable()) {
    stop_.Set();
    thread_.join();
  }
}

uint32_t RegistryWatcher::StartLocked() {
  if (inotify_) return 0;
  inotify_.Reset(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK));
  if (!inotify_) return LastError();
  thread_ = std::thread([this] { Run(); });
  return 0;
}

uint32_t RegistryWatcher::Arm(const std::string& folder, bool subtree, const Event& event,
                              uint64_t& id) {
  std::lock_guard guard(lock_);
  if (const uint32_t error = StartLocked()) return error;
  Handle duplicate(::fcntl(event.Fd(), F_DUPFD_CLOEXEC, 0));
  if (!duplicate) return LastError();
  id = nextId_++;
  Watch& watch = watches_[id];
  watch.event = std::move(duplicate);
  // Parents first: a folder made below while we walk is then seen as a change of its parent.
  const uint32_t error = AddFolderLocked(folder, subtree, id, watch);
  if (error) EndWatchLocked(id);
  return error;
}

uint32_t RegistryWatcher::AddFolderLocked(const std::string& folder, bool subtree, uint64_t id,
                                          Watch& watch) {
  const int wd = ::inotify_add_watch(inotify_.Get(), folder.c_str(), kMask);
  if (wd < 0) return LastError();
  watch.descriptors.push_back(wd);
  byDescriptor_[wd].insert(id);
  if (!subtree) return 0;
  for (const std::string& child : SubFolders(folder)) {
    // A folder that vanished meanwhile has already signalled its parent's watch.
    const uint32_t error = AddFolderLocked(child, true, id, watch);
    if (error && error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) return error;
  }
  return 0;
}

void RegistryWatcher::Cancel(uint64_t id) {
  std::lock_guard guard(lock_);
  EndWatchLocked(id);
}

void RegistryWatcher::EndWatchLocked(uint64_t id) {
  auto it = watches_.find(id);
  if (it == watches_.end()) return;
  for (const int wd : it->second.descriptors) {
    auto users = byDescriptor_.find(wd);
    if (users == byDescriptor_.end()) continue;
    users->second.erase(id);
    if (users->second.empty()) {
      ::inotify_rm_watch(inotify_.Get(), wd);
      byDescriptor_.erase(users);
    }
  }
  watches_.erase(it);
}

void RegistryWatcher::Run() {
  alignas(inotify_event) char buffer[16 * 1024];
  for (;;) {
    pollfd fds[2] = {{inotify_.Get(), POLLIN, 0}, {stop_.Fd(), POLLIN, 0}};
    if (::poll(fds, 2, -1) < 0 && errno != EINTR) return;
    if (fds[1].revents & POLLIN) return;
    const ssize_t n = ::read(inotify_.Get(), buffer, sizeof buffer);
    if (n > 0) Dispatch(buffer, static_cast<size_t>(n));
  }
}

void RegistryWatcher::Dispatch(const char* buffer, size_t size) {
  std::lock_guard guard(lock_);
  for (size_t offset = 0; offset + sizeof(inotify_event) <= size;) {
    const auto* e = reinterpret_cast<const inotify_event*>(buffer + offset);
    offset += sizeof(inotify_event) + e->len;
    const bool ownTemporary = e->len > 0 && e->name[0] == '.';
    auto users = byDescriptor_.find(e->wd);
    if (users == byDescriptor_.end()) continue;
    if (e->mask & IN_IGNORED) {
      byDescriptor_.erase(users);  // the kernel dropped it; the number may come back
      continue;
    }
    if (ownTemporary) continue;
    const std::set<uint64_t> fired = users->second;
    for (const uint64_t id : fired) {
      Signal(watches_.at(id).event);
      EndWatchLocked(id);
    }
  }
}

}  // namespace vorlix::platform
