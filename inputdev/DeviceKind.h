#pragma once

#include <cstdint>

namespace vorlix {

enum class DeviceKind { Mouse, Keyboard };

// What tells the two filter drivers and their devices apart.
struct KindTraits {
  const char* serviceKey;  // only tested: absent means the driver is not installed
  const char* changeKey;   // any change below it means devices came or went
  const char* classGuid;   // the device interface class
  uint32_t recordSize;     // bytes of one raw record
};

KindTraits TraitsOf(DeviceKind kind);

}  // namespace vorlix
