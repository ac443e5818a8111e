#pragma once

#include <optional>
#include <string>

#include <freerdp/peer.h>

#include "tools/testserver/RecordFile.h"
#include "tools/testserver/ServerOptions.h"
#include "tools/testserver/SessionAgent.h"
#include "tools/testserver/TestPicture.h"
#include "tools/testserver/Timer.h"

namespace vorlix::testserver {

// What all connections share; it outlives them.
struct PeerEnvironment {
  const ServerOptions& options;
  const std::string& certificate;
  RecordFile& record;
  // Set when the server stops.
  HANDLE stopEvent;
};

// One client connection, on a thread of its own: TLS, the moving desktop, the pointer, the log-on
// notification, the session agent when the client declared its channel, and the disconnect case.
class PeerSession {
 public:
  // Takes over `client`, just accepted.
  PeerSession(freerdp_peer* client, const PeerEnvironment& environment, unsigned number);
  PeerSession(const PeerSession&) = delete;
  PeerSession& operator=(const PeerSession&) = delete;
  ~PeerSession();

  // Serves the connection until it ends or the server stops.
  void Run();

 private:
  static PeerSession& Of(freerdp_peer* client);
  bool Setup();
  BOOL OnPostConnect();
  BOOL OnActivate();
  // Waits for traffic or the next deadline and handles both; false when the connection is over.
  bool Pump();
  DWORD WaitTimeout(Clock::time_point now) const;
  bool RunDueWork(Clock::time_point now);
  bool SendLogon();
  // The --disconnect-after case; false when the connection is to end at once.
  bool Leave(Clock::time_point now);

  freerdp_peer* client_;
  const PeerEnvironment& environment_;
  const unsigned number_;
  HANDLE vcm_ = nullptr;
  std::optional<SessionAgent> agent_;
  std::optional<TestPicture> picture_;
  Timer paint_;
  Timer logon_;
  Timer disconnect_;
  bool activated_ = false;
  bool closing_ = false;
};

}  // namespace vorlix::testserver
