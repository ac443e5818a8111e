#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "drivers/DeviceHub.h"
#include "drivers/InterfaceRegistry.h"
#include "platform/devices/InputProtocol.h"
#include "platform/system/Handle.h"

namespace vorlix::drivers {

// The input service's socket: serves the opens and control requests of DeviceFile and the
// requests of vorlixinput, one frame at a time, on one thread. Peers are not trusted: every
// length is checked, a request that makes no sense gets 13, a frame that breaks the bounds gets
// 13 and its connection is dropped, and only the service's own user (or root) may plug, unplug
// or drive devices.
class InputService {
 public:
  // Publishes the service keys and listens. 0, or an error number with a message on stderr.
  uint32_t Start();
  // Serves until stopFd becomes readable.
  void Run(int stopFd);
  // For backends that feed the hub from descriptors of their own: onReadable runs on the
  // service's thread whenever fd becomes readable (or hangs up).
  void Watch(int fd, std::function<void()> onReadable);
  DeviceHub& Hub() { return hub_; }
  ~InputService();

 private:
  struct Connection {
    platform::Handle socket;
    uid_t uid = 0;
    std::unique_ptr<DeviceOpen> open;
  };
  struct Watched {
    int fd;
    std::function<void()> onReadable;
  };
  struct Request {
    platform::input_protocol::FrameHeader header;
    const unsigned char* payload;
    platform::Handle passedFd;
  };

  void Accept();
  bool Serve(Connection& connection);
  uint32_t Dispatch(Connection& connection, Request& request);
  bool ServeOpen(Connection& connection, const Request& request);
  uint32_t SetEvent(Connection& connection, Request& request);
  uint32_t Control(const Connection& connection, const Request& request);
  uint32_t Drive(const Request& request);
  void Drop(size_t index);

  InterfaceRegistry registry_;
  DeviceHub hub_{registry_};
  platform::Handle listener_;
  std::vector<Watched> watched_;
  std::vector<std::unique_ptr<Connection>> connections_;
};

}  // namespace vorlix::drivers
