#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <winpr/wtypes.h>

#include "common/ChannelReassembler.h"
#include "tools/testserver/RecordFile.h"
#include "tools/testserver/ServerOptions.h"
#include "tools/testserver/Timer.h"

namespace vorlix::testserver {

// Plays the agent inside the remote session on one connection's "Vorlix" channel: greets the
// client after log-on, keeps the channel alive, answers mouse input with the cursor state and
// records everything the client sends.
class SessionAgent {
 public:
  // Takes over `channel`, an open "Vorlix" channel of the connection.
  SessionAgent(HANDLE channel, const AgentOptions& options, RecordFile& record);
  SessionAgent(const SessionAgent&) = delete;
  SessionAgent& operator=(const SessionAgent&) = delete;
  ~SessionAgent();

  // After the log-on notification: hello, pointer settings and status, then the timers start.
  void Start(Clock::time_point now);
  // Sends the keep-alives and queries that are due.
  void Tick(Clock::time_point now);
  std::optional<Clock::time_point> NextDue() const;
  // Takes whatever the client sent since the last call.
  void Receive();

 private:
  void OnMessage(std::string_view message);
  // Writes each message on its own, or with --split all of them together in pieces.
  void Send(const std::vector<std::string>& messages);
  void Write(std::string_view bytes);

  HANDLE channel_;
  const AgentOptions& options_;
  RecordFile& record_;
  ChannelReassembler reassembler_;
  std::vector<char> readBuffer_;
  Timer keepAlive_;
  Timer query_;
  bool running_ = false;
  bool answered_ = false;
};

}  // namespace vorlix::testserver
