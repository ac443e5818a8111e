#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "inputdev/DeviceKind.h"
#include "inputdev/DeviceRegistry.h"
#include "inputdev/InpDevInfo.h"

namespace vorlix {

// A counted reference to the kind's process-wide device registry; holds nothing of its own.
// Objects are cheap to create anywhere; the first one in the process builds the registry (and
// waits up to 2 s for a first user still building it), the last one tears it down.
// The queries may be called from any thread (see DeviceRegistry).
template <DeviceKind Kind>
class TZephDevMgr {
 public:
  TZephDevMgr() { Registry().Acquire(); }
  ~TZephDevMgr() { Registry().Release(); }
  TZephDevMgr(const TZephDevMgr&) : TZephDevMgr() {}
  TZephDevMgr& operator=(const TZephDevMgr&) { return *this; }

  std::vector<InpDevInfo> GetDeviceList() const { return Registry().GetDeviceList(); }
  // dsNone..dsChanged.
  uint8_t GetState() const { return Registry().GetState(); }
  // -1 unless a present device has exactly this path.
  int32_t FindDeviceId(const std::string& path) const { return Registry().FindDeviceId(path); }
  // Empty unless the id names a present device.
  std::string GetDevicePath(int32_t id) const { return Registry().GetDevicePath(id); }

 protected:
  static DeviceRegistry& Registry() { return DeviceRegistry::Of(Kind); }
};

}  // namespace vorlix
