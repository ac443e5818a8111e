#include "tools/rdpprobe/RdpProbe.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "common/ChannelMessageText.h"
#include "common/ReasonTexts.h"

namespace vorlix::tools {

namespace {

// After the probe's time, the disconnection it asks for gets this long to arrive.
constexpr int kDisconnectGraceMs = 5000;

std::string Narrow(const std::u16string& text) { return {text.begin(), text.end()}; }

void PrintLine(const std::string& line) {
  std::fputs(line.c_str(), stdout);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

}  // namespace

RdpProbe::RdpProbe(platform::TMsTscAx& control, ProbeOptions options)
    : control_(control), options_(std::move(options)) {
  Wire();
}

void RdpProbe::Wire() {
  control_.OnConnecting = [] { PrintLine("OnConnecting"); };
  control_.OnConnected = [this] {
    connected_ = true;
    PrintLine("OnConnected");
  };
  control_.OnLoginComplete = [] { PrintLine("OnLoginComplete"); };
  control_.OnDisconnected = [this](int32_t reason) {
    PrintLine("OnDisconnected " + std::to_string(reason) + " " + DisconnectReasonText(reason));
    Finish();
  };
  control_.OnFatalError = [](int32_t code) {
    PrintLine("OnFatalError " + std::to_string(code) + " " + FatalErrorText(code));
  };
  control_.OnRemoteDesktopSizeChange = [](int32_t width, int32_t height) {
    PrintLine("OnRemoteDesktopSizeChange " + std::to_string(width) + " " + std::to_string(height));
  };
  control_.OnChannelReceivedData = [this](const std::u16string& name, const std::string& data) {
    OnChannelData(name, data);
  };
}

void RdpProbe::Start() {
  control_.SetServer(options_.server);
  if (!options_.channel.empty() && control_.CreateVirtualChannels(options_.channel) != 0) {
    std::fprintf(stderr, "rdpprobe: bad channel name\n");
  }
  control_.Connect();
  QTimer::singleShot(options_.seconds * 1000, this, [this] { TimeUp(); });
}

void RdpProbe::OnChannelData(const std::u16string& name, const std::string& data) {
  const std::string prefix = "OnChannelReceivedData " + Narrow(name) + " ";
  // The agent in the session listens once it has spoken: that is when the probe sends.
  auto [entry, added] = reassemblers_.try_emplace(name, [this, prefix](std::string_view message) {
    PrintLine(prefix + FormatChannelMessage(message));
    SendOnce();
  });
  ChannelReassembler& reassembler = entry->second;
  const uint64_t malformedBefore = reassembler.Malformed();
  reassembler.Deliver(data);
  if (reassembler.Malformed() != malformedBefore) PrintLine(prefix + "malformed, delivery dropped");
}

void RdpProbe::SendOnce() {
  if (!options_.send || options_.channel.empty() || sent_) return;
  sent_ = true;
  // The control takes a length-prefixed binary string.
  std::string block(4 + options_.send->size(), '\0');
  const auto length = static_cast<uint32_t>(options_.send->size());
  std::memcpy(block.data(), &length, 4);
  std::memcpy(block.data() + 4, options_.send->data(), options_.send->size());
  const auto* text = reinterpret_cast<platform::BSTR>(block.data() + 4);
  if (const platform::HRESULT result = control_.SendOnVirtualChannel(options_.channel, text)) {
    std::fprintf(stderr, "rdpprobe: send failed: 0x%08X\n", static_cast<unsigned>(result));
  }
}

void RdpProbe::TimeUp() {
  if (disconnected_) return;
  control_.Disconnect();
  QTimer::singleShot(kDisconnectGraceMs, this, [] { QCoreApplication::exit(); });
}

void RdpProbe::Finish() {
  disconnected_ = true;
  QCoreApplication::exit();
}

}  // namespace vorlix::tools
