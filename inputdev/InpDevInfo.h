#pragma once

#include <cstdint>
#include <string>

namespace vorlix {

// One device of a kind's device registry.
struct InpDevInfo {
  int32_t Id = -1;       // assigned once per process from the registry's counter; never reused
  std::string Path;      // the device path: the device's identity, compared byte for byte
  bool Present = false;  // the interface was active at the last refresh
};

}  // namespace vorlix
