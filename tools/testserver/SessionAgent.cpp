#include "tools/testserver/SessionAgent.h"

#include <freerdp/channels/wtsvc.h>

#include "tools/testserver/AgentMessages.h"

namespace vorlix::testserver {

namespace {

// Larger than anything a client sends at once; a larger delivery is taken in pieces.
constexpr size_t kReadBufferSize = 64 * 1024;

// Windows' defaults: mouse thresholds 6 and 10, acceleration 1, speed 10.
constexpr std::initializer_list<uint32_t> kPointerSettings = {6, 10, 1, 10};

}  // namespace

SessionAgent::SessionAgent(HANDLE channel, const AgentOptions& options, RecordFile& record)
    : channel_(channel),
      options_(options),
      record_(record),
      reassembler_([this](std::string_view message) { OnMessage(message); }),
      readBuffer_(kReadBufferSize) {}

SessionAgent::~SessionAgent() { WTSVirtualChannelClose(channel_); }

void SessionAgent::Start(Clock::time_point now) {
  if (options_.silent) return;
  // On its own, so the next delivery starts with a good header again.
  if (options_.malformed != Malformed::kNone) Write(MalformedMessage(options_.malformed));
  std::vector<std::string> greeting;
  if (options_.hello) greeting.push_back(ChannelMessage(chAgentHello, Words({options_.session})));
  greeting.push_back(ChannelMessage(chPointerSettings, Words(kPointerSettings)));
  greeting.push_back(ChannelMessage(chSessionStatus, Words({options_.status})));
  Send(greeting);
  running_ = true;
  keepAlive_.Every(now, options_.keepAlive);
  query_.Every(now, options_.query);
}

void SessionAgent::Tick(Clock::time_point now) {
  if (keepAlive_.Due(now)) Send({ChannelMessage(chKeepAlive)});
  if (query_.Due(now)) Send({ChannelMessage(chQuery)});
}

std::optional<Clock::time_point> SessionAgent::NextDue() const {
  return Earlier(keepAlive_.Next(), query_.Next());
}

void SessionAgent::Receive() {
  ULONG read = 0;
  while (WTSVirtualChannelRead(channel_, 0, readBuffer_.data(),
                               static_cast<ULONG>(readBuffer_.size()), &read)) {
    reassembler_.Deliver(std::string_view(readBuffer_.data(), read));
  }
}

void SessionAgent::OnMessage(std::string_view message) {
  record_.Append(message);
  // Like the real agent: nobody answers before log-on, or ever when silent.
  if (!running_) return;
  if (const auto position = MousePosition(message)) {
    Send({CursorState(*position, !answered_)});
    answered_ = true;
  }
}

void SessionAgent::Send(const std::vector<std::string>& messages) {
  if (options_.split == 0) {
    for (const std::string& message : messages) Write(message);
    return;
  }
  std::string joined;
  for (const std::string& message : messages) joined += message;
  for (size_t at = 0; at < joined.size(); at += options_.split) {
    Write(std::string_view(joined).substr(at, options_.split));
  }
}

void SessionAgent::Write(std::string_view bytes) {
  // The channel API takes a writable buffer.
  std::string buffer(bytes);
  ULONG written = 0;
  WTSVirtualChannelWrite(channel_, buffer.data(), static_cast<ULONG>(buffer.size()), &written);
}

}  // namespace vorlix::testserver
