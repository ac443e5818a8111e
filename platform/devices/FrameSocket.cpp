#include "platform/devices/FrameSocket.h"

#include <sys/socket.h>
#include <sys/un.h>

#include <cstring>
#include <string>

#include "common/ResultCodes.h"

namespace vorlix::platform {

using input_protocol::FrameHeader;

namespace {

constexpr int kMaxPassedFds = 4;
// The service is trusted, yet a hung one must not hang its callers forever.
constexpr timeval kReplyTimeout{5, 0};

void KeepFirstFd(msghdr& message, Handle& passedFd) {
  for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
    if (c->cmsg_level != SOL_SOCKET || c->cmsg_type != SCM_RIGHTS) continue;
    const size_t count = (c->cmsg_len - CMSG_LEN(0)) / sizeof(int);
    for (size_t i = 0; i < count; ++i) {
      int fd = -1;
      std::memcpy(&fd, CMSG_DATA(c) + i * sizeof(int), sizeof fd);
      if (passedFd) {
        Handle extra(fd);
      } else {
        passedFd.Reset(fd);
      }
    }
  }
}

}  // namespace

uint32_t ConnectToInputService(Handle& out) {
  const std::string path = input_protocol::SocketPath();
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return ERROR_FILE_NOT_FOUND;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  Handle socket(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!socket) return ERROR_TOO_MANY_OPEN_FILES;
  if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    return ERROR_FILE_NOT_FOUND;
  }
  ::setsockopt(socket.Get(), SOL_SOCKET, SO_RCVTIMEO, &kReplyTimeout, sizeof kReplyTimeout);
  out = std::move(socket);
  return 0;
}

uint32_t SendFrame(int socket, uint32_t code, const void* payload, uint32_t length, int passFd) {
  FrameHeader header{code, length};
  iovec parts[2] = {{&header, sizeof header}, {const_cast<void*>(payload), length}};
  msghdr message{};
  message.msg_iov = parts;
  message.msg_iovlen = length == 0 ? 1 : 2;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))] = {};
  if (passFd != -1) {
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &passFd, sizeof passFd);
  }
  const ssize_t sent = ::sendmsg(socket, &message, MSG_NOSIGNAL);
  return sent == static_cast<ssize_t>(sizeof header + length) ? 0 : ERROR_BROKEN_PIPE;
}

uint32_t ReceiveFrame(int socket, FrameHeader& header, void* payload, uint32_t capacity,
                      Handle& passedFd) {
  iovec part{&header, sizeof header};
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int) * kMaxPassedFds)];
  msghdr message{};
  message.msg_iov = &part;
  message.msg_iovlen = 1;
  message.msg_control = control;
  message.msg_controllen = sizeof control;
  const ssize_t got = ::recvmsg(socket, &message, MSG_WAITALL | MSG_CMSG_CLOEXEC);
  if (got == 0) return ERROR_BROKEN_PIPE;
  KeepFirstFd(message, passedFd);
  if (got != static_cast<ssize_t>(sizeof header) || header.length > capacity) {
    return ERROR_INVALID_DATA;
  }
  if (header.length == 0) return 0;
  const ssize_t body = ::recv(socket, payload, header.length, MSG_WAITALL);
  return body == static_cast<ssize_t>(header.length) ? 0 : ERROR_INVALID_DATA;
}

uint32_t Transact(int socket, uint32_t op, const void* payload, uint32_t length, int passFd) {
  if (SendFrame(socket, op, payload, length, passFd) != 0) return ERROR_DEVICE_NOT_CONNECTED;
  FrameHeader reply{};
  Handle ignored;
  if (ReceiveFrame(socket, reply, nullptr, 0, ignored) != 0) return ERROR_DEVICE_NOT_CONNECTED;
  return reply.code;
}

}  // namespace vorlix::platform
