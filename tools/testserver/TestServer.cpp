#include "tools/testserver/TestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <system_error>
#include <thread>

#include <winpr/synch.h>

namespace vorlix::testserver {

namespace {

constexpr int kBacklog = 16;

// A listening socket on 127.0.0.1:port, or -1.
int OpenLoopbackSocket(uint16_t port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) return -1;
  const int on = 1;
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(fd, kBacklog) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

std::optional<uint16_t> BoundPort(int fd) {
  sockaddr_in address{};
  socklen_t length = sizeof(address);
  if (::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) return std::nullopt;
  return ntohs(address.sin_port);
}

}  // namespace

TestServer::TestServer(const ServerOptions& options, const std::string& certificate,
                       RecordFile& record)
    : listener_(freerdp_listener_new()),
      stopEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)),
      environment_{options, certificate, record, stopEvent_} {
  if (listener_) {
    listener_->info = this;
    listener_->PeerAccepted = OnPeerAccepted;
  }
}

TestServer::~TestServer() {
  StopPeers();
  if (listener_) freerdp_listener_free(listener_);
  if (stopEvent_) CloseHandle(stopEvent_);
}

std::optional<uint16_t> TestServer::Listen(uint16_t port) {
  if (!listener_ || !stopEvent_) return std::nullopt;
  const int fd = OpenLoopbackSocket(port);
  if (fd < 0) return std::nullopt;
  const auto bound = BoundPort(fd);
  // The listener owns the socket once it took it.
  if (!bound || !listener_->OpenFromSocket(listener_, fd)) {
    ::close(fd);
    return std::nullopt;
  }
  return bound;
}

void TestServer::Run(HANDLE stopSignal) {
  HANDLE handles[MAXIMUM_WAIT_OBJECTS];
  for (;;) {
    DWORD count = listener_->GetEventHandles(listener_, handles, MAXIMUM_WAIT_OBJECTS - 1);
    if (count == 0) break;
    handles[count++] = stopSignal;
    if (WaitForMultipleObjects(count, handles, FALSE, INFINITE) == WAIT_FAILED ||
        WaitForSingleObject(stopSignal, 0) == WAIT_OBJECT_0 ||
        !listener_->CheckFileDescriptor(listener_)) {
      break;
    }
  }
  listener_->Close(listener_);
  StopPeers();
}

BOOL TestServer::OnPeerAccepted(freerdp_listener* listener, freerdp_peer* client) {
  return static_cast<TestServer*>(listener->info)->StartPeer(client);
}

bool TestServer::StartPeer(freerdp_peer* client) {
  std::lock_guard lock(mutex_);
  const unsigned number = ++connections_;
  try {
    std::thread([this, client, number] {
      PeerSession(client, environment_, number).Run();
      std::lock_guard done(mutex_);
      --runningPeers_;
      peersGone_.notify_all();
    }).detach();
  } catch (const std::system_error&) {
    return false;
  }
  ++runningPeers_;
  return true;
}

void TestServer::StopPeers() {
  if (stopEvent_) SetEvent(stopEvent_);
  std::unique_lock lock(mutex_);
  peersGone_.wait(lock, [this] { return runningPeers_ == 0; });
}

}  // namespace vorlix::testserver
