#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "inputdev/DeviceKind.h"
#include "inputdev/InpDevInfo.h"
#include "platform/registry/RegistryKey.h"
#include "platform/system/Event.h"

namespace vorlix {

// Registry states.
enum : uint8_t {
  dsNone = 0,          // no user
  dsStarting = 1,      // the first user is about to refresh
  dsAccessDenied = 2,  // the service key or the change key may not be opened
  dsNoDriver = 3,      // the service key is missing: the driver is not installed
  dsNoDevice = 4,      // no change key, no device set, or no interface active
  dsReady = 5,         // an interface is active; the change key is watched
  dsChanged = 6,       // the change watch fired; the next list request refreshes
};

// The process-wide list of one kind's devices, numbered by one rule in every process: each
// registered interface counts, present or not, in walk order from 0 in a fresh process, and one
// registered later gets the next number. Reached only through the managers and handles, which
// count as its users: the first builds it, the last tears it down; the id counter survives.
//
// Every operation may be called from any thread. The queries hold the recursive lock for their
// whole run; nothing else is locked meanwhile. Changes are noticed lazily, when a query tests the
// change event.
class DeviceRegistry {
 public:
  static DeviceRegistry& Of(DeviceKind kind);

  void Acquire();
  void Release();

  uint8_t GetState();
  // A copy, refreshed first when a change was signalled or the last refresh was not dsReady.
  std::vector<InpDevInfo> GetDeviceList();
  // The id of the present entry with exactly this path, else -1.
  int32_t FindDeviceId(const std::string& path);
  // The path of the present entry with this id, else empty.
  std::string GetDevicePath(int32_t id);

  DeviceRegistry(const DeviceRegistry&) = delete;
  DeviceRegistry& operator=(const DeviceRegistry&) = delete;

 private:
  explicit DeviceRegistry(DeviceKind kind) : traits_(TraitsOf(kind)) {}

  void Build();
  void Refresh();
  void Walk();
  int IndexOfPath(const std::string& path) const;

  const KindTraits traits_;
  std::atomic<int> users_{0};
  std::atomic<bool> eventExists_{false};
  std::recursive_mutex lock_;
  std::optional<platform::Event> changed_;
  uint8_t state_ = dsNone;
  platform::RegistryKey changeKey_;
  bool driverSeen_ = false;
  int32_t nextId_ = 0;
  std::vector<InpDevInfo> devices_;
};

}  // namespace vorlix
