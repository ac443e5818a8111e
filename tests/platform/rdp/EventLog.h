#pragma once

#include <QCoreApplication>
#include <QThread>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rdp/MsTscAx.h"

namespace vorlix::test {

// Records every event a control raises, in order, and whether any arrived off the GUI thread.
class EventLog {
 public:
  void Wire(platform::TMsTscAx& control) {
    control.OnConnecting = [this] { Add("Connecting"); };
    control.OnConnected = [this] { Add("Connected"); };
    control.OnLoginComplete = [this] { Add("LoginComplete"); };
    control.OnDisconnected = [this](int32_t reason) {
      Add("Disconnected " + std::to_string(reason));
    };
    control.OnFatalError = [this](int32_t code) { Add("FatalError " + std::to_string(code)); };
    control.OnChannelReceivedData = [this](const std::u16string& channel, const std::string& data) {
      Add("ChannelData " + std::string(channel.begin(), channel.end()) + " " + data);
    };
    control.OnRemoteDesktopSizeChange = [this](int32_t width, int32_t height) {
      Add("SizeChange " + std::to_string(width) + "x" + std::to_string(height));
    };
    control.OnEnterFullScreenMode = [this] { Add("EnterFullScreenMode"); };
    control.OnLeaveFullScreenMode = [this] { Add("LeaveFullScreenMode"); };
    control.OnRequestGoFullScreen = [this] { Add("RequestGoFullScreen"); };
    control.OnRequestLeaveFullScreen = [this] { Add("RequestLeaveFullScreen"); };
  }

  std::vector<std::string> Entries() const {
    std::lock_guard guard(lock_);
    return entries_;
  }
  bool AllOnGuiThread() const {
    std::lock_guard guard(lock_);
    return allOnGuiThread_;
  }

 private:
  void Add(std::string entry) {
    std::lock_guard guard(lock_);
    allOnGuiThread_ &= QThread::currentThread() == QCoreApplication::instance()->thread();
    entries_.push_back(std::move(entry));
  }

  mutable std::mutex lock_;
  std::vector<std::string> entries_;
  bool allOnGuiThread_ = true;
};

}  // namespace vorlix::test
