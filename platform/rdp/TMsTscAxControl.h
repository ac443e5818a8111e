#pragma once

#include <QWidget>
#include <atomic>
#include <memory>

#include "platform/rdp/MsTscAx.h"
#include "platform/rdp/RdpEngine.h"
#include "platform/rdp/RdpSettings.h"
#include "platform/rdp/TMsTscAdvancedSettings.h"
#include "platform/rdp/TMsTscSecuredSettings.h"
#include "platform/rdp/TOutputWindow.h"

namespace vorlix::platform {

// The control: a widget holding the display window chain, the properties and the events. The
// connection itself is the engine's; everything the engine reports reaches the events through
// Post, the one crossing onto the GUI thread.
class TMsTscAxControl : public QWidget, public TMsTscAx {
 public:
  TMsTscAxControl(QWidget* parent, const RdpEngineFactory& makeEngine);

  QWidget* Widget() override { return this; }
  void SetServer(const std::u16string& server) override { settings_.server = server; }
  std::u16string Server() const override { return settings_.server; }
  void SetDesktopWidth(int32_t width) override { settings_.desktopWidth = width; }
  int32_t DesktopWidth() const override { return settings_.desktopWidth; }
  void SetDesktopHeight(int32_t height) override { settings_.desktopHeight = height; }
  int32_t DesktopHeight() const override { return settings_.desktopHeight; }
  IMsTscAdvancedSettings* AdvancedSettings() override { return &advanced_; }
  IMsTscSecuredSettings* SecuredSettings() override { return &secured_; }

  HRESULT CreateVirtualChannels(const std::u16string& names) override;
  HRESULT Connect() override;
  HRESULT Disconnect() override;
  HRESULT SendOnVirtualChannel(const std::u16string& name, BSTR message) override;

 private:
  void Post(uint32_t connection, RdpEvent event);
  void Raise(const RdpEvent& event);
  bool IsChannel(std::u16string_view name) const;

  RdpSettings settings_;
  TMsTscAdvancedSettings advanced_{settings_};
  TMsTscSecuredSettings secured_{settings_};
  // Set by the first Connect; from then on settings_.channels no longer changes, so that
  // senders on other threads may read it.
  std::atomic<bool> connectCalled_{false};
  // GUI thread only.
  uint32_t connection_ = 0;
  QWidget mainWindow_;
  QWidget containerWindow_;
  TOutputWindow outputWindow_;
  // Last, so that it goes first: no engine thread reports into a half-destroyed control.
  std::unique_ptr<RdpEngine> engine_;
};

}  // namespace vorlix::platform
