#include "drivers/InputService.h"

#include <fcntl.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "common/ResultCodes.h"
#include "platform/devices/FrameSocket.h"

namespace vorlix::drivers {

namespace protocol = platform::input_protocol;
using platform::Handle;

namespace {

constexpr size_t kMaxConnections = 256;
// A peer that sends half a frame holds the service up this long at most.
constexpr timeval kPeerTimeout{0, 500000};

uid_t PeerUid(int socket) {
  ucred credentials{};
  socklen_t size = sizeof credentials;
  ::getsockopt(socket, SOL_SOCKET, SO_PEERCRED, &credentials, &size);
  return credentials.uid;
}

// We write to the descriptor whenever input comes: it has to be an eventfd, which never blocks
// us, and not, say, a pipe.
bool IsEventFd(int fd) {
  char target[64] = {};
  const std::string link = "/proc/self/fd/" + std::to_string(fd);
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  return n > 0 && std::strcmp(target, "anon_inode:[eventfd]") == 0;
}

Handle Listen(const std::string& path) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return Handle();
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  Handle socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  ::unlink(path.c_str());
  if (!socket || ::bind(socket.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket.Get(), 64) != 0) {
    return Handle();
  }
  // Every user's manager and clients open devices; driving them is checked per request.
  ::chmod(path.c_str(), 0666);
  return socket;
}

}  // namespace

uint32_t InputService::Start() {
  if (const uint32_t r = registry_.Start(); r != 0) {
    std::fprintf(stderr, "vorlixinputd: cannot publish the service keys (error %u)\n", r);
    return r;
  }
  std::error_code ignored;
  std::filesystem::create_directories(platform::RuntimeDir(), ignored);
  Handle probe;
  if (platform::ConnectToInputService(probe) == 0) {
    std::fprintf(stderr, "vorlixinputd: already running\n");
    return ERROR_ALREADY_EXISTS;
  }
  listener_ = Listen(protocol::SocketPath());
  if (!listener_) {
    std::fprintf(stderr, "vorlixinputd: cannot listen on %s\n", protocol::SocketPath().c_str());
    return ERROR_ACCESS_DENIED;
  }
  return 0;
}

InputService::~InputService() {
  if (listener_) ::unlink(protocol::SocketPath().c_str());
}

void InputService::Run(int stopFd) {
  std::vector<pollfd> fds;
  for (;;) {
    fds.assign({{stopFd, POLLIN, 0}, {listener_.Get(), POLLIN, 0}});
    for (const Watched& watched : watched_) fds.push_back({watched.fd, POLLIN, 0});
    for (const auto& connection : connections_)
      fds.push_back({connection->socket.Get(), POLLIN, 0});
    if (::poll(fds.data(), fds.size(), -1) < 0) continue;
    if (fds[0].revents != 0) return;
    const size_t first = 2 + watched_.size();
    // Backwards, so that dropping a connection leaves the indices still to visit alone.
    for (size_t i = connections_.size(); i-- > 0;) {
      if (fds[first + i].revents != 0 && !Serve(*connections_[i])) Drop(i);
    }
    for (size_t i = 0; i < watched_.size(); ++i) {
      if (fds[2 + i].revents != 0) watched_[i].onReadable();
    }
    if (fds[1].revents != 0) Accept();
  }
}

void InputService::Watch(int fd, std::function<void()> onReadable) {
  watched_.push_back({fd, std::move(onReadable)});
}

void InputService::Accept() {
  Handle socket(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
  if (!socket || connections_.size() >= kMaxConnections) return;
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, &kPeerTimeout, sizeof kPeerTimeout);
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_SNDTIMEO, &kPeerTimeout, sizeof kPeerTimeout);
  auto connection = std::make_unique<Connection>();
  connection->uid = PeerUid(socket.Get());
  connection->socket = std::move(socket);
  connections_.push_back(std::move(connection));
}

void InputService::Drop(size_t index) {
  if (connections_[index]->open) hub_.Close(*connections_[index]->open);
  connections_.erase(connections_.begin() + static_cast<std::ptrdiff_t>(index));
}

bool InputService::Serve(Connection& connection) {
  unsigned char payload[protocol::kMaxPayload];
  Request request{{}, payload, Handle()};
  const int socket = connection.socket.Get();
  const uint32_t received =
      platform::ReceiveFrame(socket, request.header, payload, sizeof payload, request.passedFd);
  if (received != 0) {
    if (received == ERROR_INVALID_DATA) platform::SendFrame(socket, received, nullptr, 0);
    return false;
  }
  if (request.header.code == protocol::kOpen) return ServeOpen(connection, request);
  const uint32_t result = Dispatch(connection, request);
  return platform::SendFrame(socket, result, nullptr, 0) == 0;
}

bool InputService::ServeOpen(Connection& connection, const Request& request) {
  const int socket = connection.socket.Get();
  if (connection.open || request.header.length > protocol::kMaxOpenName) {
    platform::SendFrame(socket, ERROR_INVALID_DATA, nullptr, 0);
    return false;
  }
  auto open = std::make_unique<DeviceOpen>();
  const std::string name(reinterpret_cast<const char*>(request.payload), request.header.length);
  const uint32_t result = hub_.Open(name, *open);
  if (result != 0) return platform::SendFrame(socket, result, nullptr, 0) == 0;
  const uint32_t recordSize = open->ring.RecordSize();
  const int ringFd = open->ring.Fd();
  connection.open = std::move(open);
  return platform::SendFrame(socket, 0, &recordSize, sizeof recordSize, ringFd) == 0;
}

uint32_t InputService::Dispatch(Connection& connection, Request& request) {
  switch (request.header.code) {
    case protocol::kSetEvent:
      return SetEvent(connection, request);
    case protocol::kSendWord:
    case protocol::kSetMode:
      return Control(connection, request);
    case protocol::kPlug:
    case protocol::kUnplug:
    case protocol::kInput:
      if (connection.uid != 0 && connection.uid != ::geteuid()) return ERROR_ACCESS_DENIED;
      return Drive(request);
    default:
      return ERROR_INVALID_DATA;
  }
}

uint32_t InputService::SetEvent(Connection& connection, Request& request) {
  int32_t value = 0;
  if (request.header.length != sizeof value) return ERROR_INVALID_DATA;
  if (!connection.open) return ERROR_INVALID_HANDLE;
  std::memcpy(&value, request.payload, sizeof value);
  if (value == 0) {
    connection.open->event.Reset();
    return 0;
  }
  if (!request.passedFd || !IsEventFd(request.passedFd.Get())) return ERROR_INVALID_HANDLE;
  // A counter kept at its maximum would block our writes, and we serve everyone on one thread.
  const int flags = ::fcntl(request.passedFd.Get(), F_GETFL);
  if (flags < 0 || ::fcntl(request.passedFd.Get(), F_SETFL, flags | O_NONBLOCK) != 0) {
    return ERROR_INVALID_HANDLE;
  }
  connection.open->event = std::move(request.passedFd);
  // Input queued before the event came must still wake its reader.
  if (connection.open->ring.Queued() != 0) SignalOpen(*connection.open);
  return 0;
}

uint32_t InputService::Control(const Connection& connection, const Request& request) {
  const DeviceOpen* open = connection.open.get();
  if (open == nullptr) return ERROR_INVALID_HANDLE;
  if (open->device.empty()) return ERROR_DEVICE_NOT_CONNECTED;
  uint32_t value = 0;
  if (request.header.code == protocol::kSendWord) {
    if (request.header.length != 2 || open->kind != protocol::kKeyboard) return ERROR_INVALID_DATA;
    std::memcpy(&value, request.payload, 2);
    std::printf("%s: LEDs 0x%x\n", open->device.c_str(), value);
  } else {
    if (request.header.length != 4) return ERROR_INVALID_DATA;
    std::memcpy(&value, request.payload, 4);
    if (value != 1 && value != 2) return ERROR_INVALID_PARAMETER;
    hub_.SetBound(*open, value == 1);
    std::printf("%s: %s\n", open->device.c_str(), value == 1 ? "bound" : "free");
  }
  std::fflush(stdout);
  return 0;
}

uint32_t InputService::Drive(const Request& request) {
  const uint32_t length = request.header.length;
  const unsigned char* p = request.payload;
  if (length < 2 || p[0] > protocol::kMouse) return ERROR_INVALID_DATA;
  const auto kind = static_cast<protocol::Kind>(p[0]);
  switch (request.header.code) {
    case protocol::kPlug:
      return hub_.Plug(kind, std::string(reinterpret_cast<const char*>(p + 2), length - 2),
                       p[1] != 0);
    case protocol::kUnplug:
      return hub_.Unplug(std::string(reinterpret_cast<const char*>(p + 2), length - 2));
    default: {
      const uint32_t nameLength = p[1];
      const uint32_t recordSize = DeviceHub::RecordSize(kind);
      if (nameLength > length - 2 || (length - 2 - nameLength) % recordSize != 0) {
        return ERROR_INVALID_DATA;
      }
      const std::string name(reinterpret_cast<const char*>(p + 2), nameLength);
      return hub_.Queue(kind, name, p + 2 + nameLength, (length - 2 - nameLength) / recordSize);
    }
  }
}

}  // namespace vorlix::drivers
