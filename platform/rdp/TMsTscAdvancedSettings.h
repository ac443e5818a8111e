#pragma once

#include "platform/rdp/MsTscAx.h"
#include "platform/rdp/RdpSettings.h"

namespace vorlix::platform {

// The control's advanced settings: a view on the settings the control connects with.
class TMsTscAdvancedSettings : public IMsTscAdvancedSettings {
 public:
  explicit TMsTscAdvancedSettings(RdpSettings& settings) : s_(settings) {}
  ~TMsTscAdvancedSettings() override = default;

  void SetCompress(int32_t value) override { s_.compress = value; }
  int32_t Compress() const override { return s_.compress; }
  void SetallowBackgroundInput(int32_t value) override { s_.allowBackgroundInput = value; }
  int32_t allowBackgroundInput() const override { return s_.allowBackgroundInput; }
  void SetBitmapPeristence(int32_t value) override { s_.bitmapPersistence = value; }
  int32_t BitmapPeristence() const override { return s_.bitmapPersistence; }
  void SetContainerHandledFullScreen(int32_t value) override {
    s_.containerHandledFullScreen = value;
  }
  int32_t ContainerHandledFullScreen() const override { return s_.containerHandledFullScreen; }
  void SetDisableRdpdr(int32_t value) override { s_.disableRdpdr = value; }
  int32_t DisableRdpdr() const override { return s_.disableRdpdr; }

 private:
  RdpSettings& s_;
};

}  // namespace vorlix::platform
