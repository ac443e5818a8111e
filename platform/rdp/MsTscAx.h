#pragma once

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>

#include "platform/rdp/HResult.h"

class QWidget;

// The remote desktop client control (MsTscAx) as the manager and the client use it. The control
// lives in the module "msrdp.ocx"; programs get one from CreateRemoteDesktopControl
// (ControlFactory.h) and compile against nothing else of it.
//
// Threads: create, use and destroy a control on the GUI thread. The one exception is
// SendOnVirtualChannel, which any thread may call. Events are raised on the GUI thread only, and
// never from inside a call to the control: a handler runs from the event loop after the call
// that caused it has returned.
namespace vorlix::platform {

inline constexpr const char* CLSID_MsTscAx = "{1FB464C8-09BB-4017-A2F5-EB742F04392F}";

// A length-prefixed binary string: the 4 bytes before the pointer hold its byte count.
using BSTR = const char16_t*;

// The byte count of `s`; 0 for a null string.
inline uint32_t SysStringByteLen(BSTR s) {
  if (s == nullptr) return 0;
  uint32_t bytes = 0;
  std::memcpy(&bytes, reinterpret_cast<const char*>(s) - sizeof bytes, sizeof bytes);
  return bytes;
}

// Settings read when a connection starts. Owned by the control; do not delete.
class IMsTscAdvancedSettings {
 public:
  virtual void SetCompress(int32_t value) = 0;
  virtual int32_t Compress() const = 0;
  virtual void SetallowBackgroundInput(int32_t value) = 0;
  virtual int32_t allowBackgroundInput() const = 0;
  virtual void SetBitmapPeristence(int32_t value) = 0;
  virtual int32_t BitmapPeristence() const = 0;
  virtual void SetContainerHandledFullScreen(int32_t value) = 0;
  virtual int32_t ContainerHandledFullScreen() const = 0;
  virtual void SetDisableRdpdr(int32_t value) = 0;
  virtual int32_t DisableRdpdr() const = 0;

 protected:
  virtual ~IMsTscAdvancedSettings() = default;
};

// Owned by the control; do not delete.
class IMsTscSecuredSettings {
 public:
  virtual void SetFullScreen(int32_t value) = 0;
  virtual int32_t FullScreen() const = 0;

 protected:
  virtual ~IMsTscSecuredSettings() = default;
};

class TMsTscAx {
 public:
  virtual ~TMsTscAx() = default;

  // The control's window, to be placed on the hosting form. It holds the display window chain
  // "UIMainClass" > "UIContainerClass" > "OPWindowClass" (see WindowClass.h).
  virtual QWidget* Widget() = 0;

  // Host name or address, optionally followed by ":port".
  virtual void SetServer(const std::u16string& server) = 0;
  virtual std::u16string Server() const = 0;
  virtual void SetDesktopWidth(int32_t width) = 0;
  virtual int32_t DesktopWidth() const = 0;
  virtual void SetDesktopHeight(int32_t height) = 0;
  virtual int32_t DesktopHeight() const = 0;

  // Either may be null, when the control has no such settings.
  virtual IMsTscAdvancedSettings* AdvancedSettings() = 0;
  virtual IMsTscSecuredSettings* SecuredSettings() = 0;

  // Declares the virtual channels, names separated by commas ("Vorlix,cliprdr"); a later call
  // replaces the list. 0; E_INVALIDARG for an empty, duplicate, non-ASCII or longer than 7
  // characters name, or more than 30 names (the list stays as it was); E_FAIL once Connect has
  // been called.
  virtual HRESULT CreateVirtualChannels(const std::u16string& names) = 0;

  // Starts connecting to Server on the control's own thread; the outcome arrives as events
  // (OnConnecting, then OnConnected or OnDisconnected, ...). 0; E_FAIL while a connection is
  // still running.
  virtual HRESULT Connect() = 0;
  // Ends the connection or the attempt, if any; OnDisconnected(1) follows. Returns 0.
  virtual HRESULT Disconnect() = 0;

  // Sends SysStringByteLen(data) bytes on a declared channel. Any thread. 0; E_INVALIDARG for
  // null data; E_FAIL when no connection is up or the channel was not declared.
  virtual HRESULT SendOnVirtualChannel(const std::u16string& name, BSTR data) = 0;

  // Events. Set them before Connect; they run on the GUI thread.
  std::function<void()> OnConnecting;
  std::function<void()> OnConnected;
  std::function<void()> OnLoginComplete;
  std::function<void(int32_t DisconnectReason)> OnDisconnected;
  std::function<void(int32_t ErrorCode)> OnFatalError;
  std::function<void(const std::u16string& chanName, const std::string& data)>
      OnChannelReceivedData;
  std::function<void(int32_t width, int32_t height)> OnRemoteDesktopSizeChange;
  // The control never switches to full screen by itself (the container handles it), so this
  // build raises none of these.
  std::function<void()> OnEnterFullScreenMode;
  std::function<void()> OnLeaveFullScreenMode;
  std::function<void()> OnRequestGoFullScreen;
  std::function<void()> OnRequestLeaveFullScreen;
};

}  // namespace vorlix::platform
