#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "common/ResultCodes.h"
#include "platform/devices/DeviceFile.h"

namespace vorlix::test {

// The driver side behind FakeDeviceFile: what is queued, what arrives while the handle polls,
// and what the handle asked for.
struct FakeDriver {
  struct Request {
    uint32_t code;
    uint32_t value;  // the input buffer, zero-extended
  };

  std::vector<uint8_t> queued;
  std::vector<uint8_t> arriving;  // appended to `queued` at poll number `arrivesAtPoll`
  int arrivesAtPoll = -1;
  int polls = 0;
  int opens = 0;
  std::string openName;
  std::vector<Request> requests;
  bool closed = false;
  uint32_t readError = 0;
  uint32_t controlError = 0;

  void Queue(const std::vector<uint8_t>& bytes) {
    queued.insert(queued.end(), bytes.begin(), bytes.end());
  }
  int SetEventRequests() const {
    int n = 0;
    for (const Request& r : requests) n += r.code == platform::IOCTL_INPDEV_SET_EVENT;
    return n;
  }
};

inline FakeDriver* gFakeDriver = nullptr;

// A DeviceFile that talks to gFakeDriver; reads return whatever bytes are queued and fit.
class FakeDeviceFile {
 public:
  static uint32_t Open(const std::string& name, FakeDeviceFile& out) {
    ++gFakeDriver->opens;
    gFakeDriver->openName = name;
    gFakeDriver->closed = false;
    out.open_ = true;
    return 0;
  }
  bool IsOpen() const { return open_; }

  uint32_t Read(void* buffer, uint32_t size, uint32_t& bytesRead) {
    bytesRead = 0;
    if (gFakeDriver->readError != 0) return gFakeDriver->readError;
    auto& queued = gFakeDriver->queued;
    bytesRead = std::min<uint32_t>(size, static_cast<uint32_t>(queued.size()));
    std::memcpy(buffer, queued.data(), bytesRead);
    queued.erase(queued.begin(), queued.begin() + bytesRead);
    return 0;
  }

  uint32_t Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned) {
    uint32_t value = 0;
    std::memcpy(&value, in == nullptr ? &value : in, std::min<uint32_t>(inSize, sizeof value));
    gFakeDriver->requests.push_back({code, value});
    returned = 0;
    if (gFakeDriver->controlError != 0) return gFakeDriver->controlError;
    if (code != platform::IOCTL_INPDEV_GET_QUEUED) return 0;
    if (++gFakeDriver->polls == gFakeDriver->arrivesAtPoll)
      gFakeDriver->Queue(gFakeDriver->arriving);
    const auto records = static_cast<uint32_t>(gFakeDriver->queued.size() / 12);
    std::memcpy(out, &records, std::min<uint32_t>(outSize, sizeof records));
    returned = sizeof records;
    return 0;
  }

  uint32_t Flush() {
    gFakeDriver->queued.clear();
    return 0;
  }
  void Close() {
    open_ = false;
    gFakeDriver->closed = true;
  }

 private:
  bool open_ = false;
};

}  // namespace vorlix::test
