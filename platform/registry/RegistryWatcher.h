#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/system/Event.h"
#include "platform/system/Handle.h"

namespace vorlix::platform {

// The process's one inotify watcher behind RegistryKey::NotifyChange. A watch covers a key
// folder (and, for a subtree watch, every folder below it at the time it is armed) and sets its
// event once, at the first change made there by any process; it then ends. Our temporary files
// (names starting with '.') do not count: a value write is seen when it is renamed into place.
// Arm and Cancel may be called from any thread; a background thread delivers the events.
class RegistryWatcher {
 public:
  static RegistryWatcher& Instance();

  uint32_t Arm(const std::string& folder, bool subtree, const Event& event, uint64_t& id);
  // Ends a watch that has not fired yet; a fired or unknown id is ignored.
  void Cancel(uint64_t id);

  RegistryWatcher(const RegistryWatcher&) = delete;
  RegistryWatcher& operator=(const RegistryWatcher&) = delete;

 private:
  struct Watch {
    Handle event;  // a duplicate of the caller's eventfd
    std::vector<int> descriptors;
  };

  RegistryWatcher() = default;
  ~RegistryWatcher();

  uint32_t StartLocked();
  uint32_t AddFolderLocked(const std::string& folder, bool subtree, uint64_t id, Watch& watch);
  void EndWatchLocked(uint64_t id);
  void Run();
  void Dispatch(const char* buffer, size_t size);

  std::mutex lock_;
  Handle inotify_;
  Event stop_;
  std::thread thread_;
  uint64_t nextId_ = 1;
  std::map<uint64_t, Watch> watches_;
  std::map<int, std::set<uint64_t>> byDescriptor_;
};

}  // namespace vorlix::platform
