#pragma once

#include "platform/rdp/MsTscAx.h"
#include "platform/rdp/RdpSettings.h"

namespace vorlix::platform {

// The control's secured settings: a view on the settings the control connects with.
class TMsTscSecuredSettings : public IMsTscSecuredSettings {
 public:
  explicit TMsTscSecuredSettings(RdpSettings& settings) : s_(settings) {}
  ~TMsTscSecuredSettings() override = default;

  void SetFullScreen(int32_t value) override { s_.fullScreen = value; }
  int32_t FullScreen() const override { return s_.fullScreen; }

 private:
  RdpSettings& s_;
};

}  // namespace vorlix::platform
