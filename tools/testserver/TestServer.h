#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>

#include <freerdp/listener.h>

#include "tools/testserver/PeerSession.h"
#include "tools/testserver/RecordFile.h"
#include "tools/testserver/ServerOptions.h"

namespace vorlix::testserver {

// Listens on 127.0.0.1 and serves every client on a thread of its own.
class TestServer {
 public:
  TestServer(const ServerOptions& options, const std::string& certificate, RecordFile& record);
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;
  ~TestServer();

  // Binds the port (0: any free one); the port listened on, or nothing.
  std::optional<uint16_t> Listen(uint16_t port);
  // Accepts clients until `stopSignal` is signalled, then ends every connection.
  void Run(HANDLE stopSignal);

 private:
  static BOOL OnPeerAccepted(freerdp_listener* listener, freerdp_peer* client);
  bool StartPeer(freerdp_peer* client);
  void StopPeers();

  freerdp_listener* listener_;
  HANDLE stopEvent_;
  PeerEnvironment environment_;
  std::mutex mutex_;
  std::condition_variable peersGone_;
  unsigned runningPeers_ = 0;
  unsigned connections_ = 0;
};

}  // namespace vorlix::testserver
