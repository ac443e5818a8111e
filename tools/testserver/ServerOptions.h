#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "common/ChannelProtocol.h"

namespace vorlix::testserver {

using Milliseconds = std::chrono::milliseconds;

// A broken message the agent sends right before its hello.
enum class Malformed { kNone, kShort, kLong };

// How the session agent behaves on the "Vorlix" channel.
struct AgentOptions {
  uint32_t session = 1;
  uint32_t status = ssReady;
  Milliseconds keepAlive{1000};
  Milliseconds query{3000};
  bool hello = true;
  bool silent = false;
  Malformed malformed = Malformed::kNone;
  // Bytes per channel write; 0 writes every message whole.
  uint32_t split = 0;
};

struct ServerOptions {
  std::optional<uint16_t> port;
  std::string recordFile;
  std::string certDir;
  bool newCert = false;
  Milliseconds logonDelay{300};
  std::optional<Milliseconds> disconnectAfter;
  std::optional<uint32_t> reason;
  AgentOptions agent;
};

// Reads the command line; on failure `error` holds a one-line message.
std::optional<ServerOptions> ParseServerOptions(int argc, char** argv, std::string& error);

}  // namespace vorlix::testserver
