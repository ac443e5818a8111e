#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/rdp/RdpSettings.h"

namespace vorlix::platform {

// What an engine reports about its connection; each becomes the control event of the same name.
namespace rdp_event {
struct Connecting {};
struct Connected {};
struct LoginComplete {};
struct Disconnected {
  int32_t reason;
};
struct FatalError {
  int32_t errorCode;
};
struct ChannelData {
  std::u16string channel;
  std::string data;
};
struct DesktopSizeChange {
  int32_t width;
  int32_t height;
};
}  // namespace rdp_event

using RdpEvent = std::variant<rdp_event::Connecting, rdp_event::Connected, rdp_event::LoginComplete,
                              rdp_event::Disconnected, rdp_event::FatalError,
                              rdp_event::ChannelData, rdp_event::DesktopSizeChange>;

// Where an engine reports to, with the number of the connection (RdpSettings::connection) the
// event belongs to. Callable from any thread; it only queues the event for the GUI thread and
// returns at once.
using RdpEventSink = std::function<void(uint32_t connection, RdpEvent)>;

// The protocol side of the control: makes the connection, runs it on its own threads and reports
// through the sink it was made with. It never touches the control's widgets.
class RdpEngine {
 public:
  virtual ~RdpEngine() = default;

  // GUI thread. Starts a connection with a copy of the settings; false while one is running. A
  // connection that is only ending is waited for.
  virtual bool Connect(const RdpSettings& settings) = 0;
  // GUI thread. Ends the connection, if any.
  virtual void Disconnect() = 0;
  // Any thread. Sends on an open channel; false when no connection is up or the channel is not
  // open.
  virtual bool Send(std::u16string_view channel, std::string_view data) = 0;
  // GUI thread. Draws the session's image on the display window again where it was exposed.
  virtual void Repaint(int x, int y, int width, int height) = 0;
};

using RdpEngineFactory = std::function<std::unique_ptr<RdpEngine>(RdpEventSink)>;

}  // namespace vorlix::platform
