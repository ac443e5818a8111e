#pragma once

#include "platform/rdp/RdpEngine.h"

namespace vorlix::platform {

// Stands in for the protocol engine until there is one: every connection attempt fails at once
// with reason 1032 (internal error), and nothing is ever sent.
class NoEngine : public RdpEngine {
 public:
  explicit NoEngine(RdpEventSink sink) : sink_(std::move(sink)) {}

  void Connect(const RdpSettings& settings) override;
  void Disconnect() override {}
  bool Send(std::u16string_view, std::string_view) override { return false; }

 private:
  RdpEventSink sink_;
};

}  // namespace vorlix::platform
