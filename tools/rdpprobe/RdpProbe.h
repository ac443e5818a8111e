#pragma once

#include <QObject>
#include <map>
#include <optional>
#include <string>

#include "common/ChannelReassembler.h"
#include "platform/rdp/MsTscAx.h"

namespace vorlix::tools {

struct ProbeOptions {
  std::u16string server;
  std::u16string channel;           // empty: no channel
  std::optional<std::string> send;  // sent on the channel once, when the agent has spoken
  int seconds = 15;
};

// Drives one control through one connection and prints a line per event and per complete
// channel message, flushed at once, so that the shell sees them as they come.
class RdpProbe : public QObject {
 public:
  RdpProbe(platform::TMsTscAx& control, ProbeOptions options);

  void Start();
  // 0 when the connection came up, 1 when it never did.
  int ExitCode() const { return connected_ ? 0 : 1; }

 private:
  void Wire();
  void OnChannelData(const std::u16string& name, const std::string& data);
  void SendOnce();
  void TimeUp();
  void Finish();

  platform::TMsTscAx& control_;
  ProbeOptions options_;
  std::map<std::u16string, ChannelReassembler> reassemblers_;
  bool connected_ = false;
  bool disconnected_ = false;
  bool sent_ = false;
};

}  // namespace vorlix::tools
