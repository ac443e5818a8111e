#include "inputdev/DeviceKind.h"

#include "inputdev/InputUnits.h"
#include "platform/devices/DeviceInterfaces.h"

namespace vorlix {

KindTraits TraitsOf(DeviceKind kind) {
  if (kind == DeviceKind::Mouse) {
    return {"SYSTEM\\CurrentControlSet\\Services\\movorlix",
            "SYSTEM\\CurrentControlSet\\Services\\movorlix\\Enum", platform::kMouseClassGuid,
            kMouseRecordSize};
  }
  return {"SYSTEM\\CurrentControlSet\\Services\\kbvorlix",
          "SYSTEM\\CurrentControlSet\\Services\\kbvorlix\\Enum", platform::kKeyboardClassGuid,
          kKeyboardRecordSize};
}

}  // namespace vorlix
