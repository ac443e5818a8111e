#pragma once

#include "manager/TTrayIcon.h"

namespace vorlix {

// The manager's tray icon: its animation goes round, from the last image back to the first.
class TTrayIconMy : public TTrayIcon {
 public:
  using TTrayIcon::TTrayIcon;

 protected:
  void Step() override;
};

}  // namespace vorlix
