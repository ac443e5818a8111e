#pragma once

#include <chrono>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <thread>

#include "common/ResultCodes.h"
#include "inputdev/InputUnits.h"
#include "inputdev/TZephDevMgr.h"
#include "platform/devices/DeviceFile.h"
#include "platform/system/Event.h"
#include "platform/system/SystemError.h"

namespace vorlix {

// Bind modes for SetBindMode.
inline constexpr uint32_t kBindModeBound = 1;
inline constexpr uint32_t kBindModeFree = 2;

// The longest device path whose open name (path + "edo" + zero) fits 256 bytes.
inline constexpr size_t kMaxDevicePath = 252;

// One open mouse or keyboard of a filter driver, read as 28-byte input units. Being a manager
// too, a live handle keeps its kind's registry alive whether it is open or not.
//
// Results are 0 or platform error numbers: 6 the handle is closed, 13 a read of part of a
// record, 30 a wait that ended oddly, 123 no present device by that id or path (or a path too
// long to open), 1460 nothing arrived within the time-out and the device is still good; any
// other number is the platform's error of the failed open, wait, read, request or flush.
//
// No lock of its own: one handle is used by one thread at a time. The registry lock is taken
// only to look the device up, never while the driver is talked to. `File` is the device file;
// tests put a fake in its place.
template <DeviceKind Kind, typename File = platform::DeviceFile>
class TZephDev : public TZephDevMgr<Kind> {
 public:
  static constexpr uint32_t kRecordSize =
      Kind == DeviceKind::Mouse ? kMouseRecordSize : kKeyboardRecordSize;

  TZephDev() = default;
  // Withdraws and closes an own event and closes the device first.
  ~TZephDev() { Close(); }
  TZephDev(const TZephDev&) = delete;
  TZephDev& operator=(const TZephDev&) = delete;

  bool IsOpen() const { return device_.IsOpen(); }
  // An event is attached: the caller's or the handle's own.
  bool HasEvent() const { return event_ != nullptr; }

  // Closes first. 123 for a negative id or one without a present device.
  uint32_t OpenById(int32_t id) {
    Close();
    if (id < 0) return ERROR_INVALID_NAME;
    return OpenByPath(this->GetDevicePath(id));
  }

  // Closes first. 123 for an empty path, one not in the list, one whose device is not present,
  // or one too long to open; else the open's result. Opens without sharing.
  uint32_t OpenByPath(const std::string& path) {
    Close();
    if (path.empty() || path.size() > kMaxDevicePath) return ERROR_INVALID_NAME;
    if (this->FindDeviceId(path) < 0) return ERROR_INVALID_NAME;
    return File::Open(path + "edo", device_);
  }

  // Withdraws the event from the driver, then closes the device. A closed handle stays as is.
  void Close() {
    if (!IsOpen()) return;
    DetachEvent();
    device_.Close();
  }

  // Registers `event` (borrowed: never closed or waited on by the handle) with the driver, or
  // with nullptr an event of the handle's own (manual reset), which Read then waits on. With an
  // event already attached, nullptr changes nothing. A failure leaves no event attached.
  uint32_t AttachEvent(const platform::Event* event) {
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    if (event != nullptr) {
      ownEvent_.reset();
      event_ = event;
      eventBorrowed_ = true;
    } else {
      if (event_ != nullptr) return ERROR_SUCCESS;
      ownEvent_.emplace(platform::Event::Reset::Manual, false);
      if (!ownEvent_->IsValid()) {
        const uint32_t error = platform::LastError();
        ownEvent_.reset();
        return error;
      }
      event_ = &*ownEvent_;
      eventBorrowed_ = false;
    }
    const uint32_t error = SendEvent(event_->Fd());
    if (error != 0) {
      ownEvent_.reset();
      event_ = nullptr;
      eventBorrowed_ = false;
    }
    return error;
  }

  // Closes an own event and withdraws the event from the driver; no event is attached after it.
  uint32_t DetachEvent() {
    if (event_ == nullptr) return ERROR_SUCCESS;
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    ownEvent_.reset();
    event_ = nullptr;
    eventBorrowed_ = false;
    return SendEvent(0);
  }

  // Delivers up to maxUnits waiting units into `units` (maxUnits * 28 bytes). Waits up to
  // timeoutMs on an own event first (6 with no event attached); with a borrowed event or
  // timeout 0 it never waits (the caller resets a borrowed event itself). `count` is set in every
  // case. Allocates nothing: the raw records land in the buffer's tail and are converted in place,
  // front to back. A keyboard read that holds a cut Pause sequence polls up to 20 times, 10 ms
  // apart, for its rest.
  uint32_t Read(uint32_t maxUnits, void* units, uint32_t timeoutMs, uint32_t& count) {
    count = 0;
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    if (!eventBorrowed_ && timeoutMs != 0) {
      const uint32_t error = Wait(timeoutMs);
      if (error != 0) return error;
    }
    auto* buffer = static_cast<uint8_t*>(units);
    uint8_t* raw = buffer + (kUnitSize - kRecordSize) * maxUnits;
    uint32_t bytes = 0;
    const uint32_t error = device_.Read(raw, maxUnits * kRecordSize, bytes);
    if (error != 0) return error;
    if (bytes % kRecordSize != 0) return ERROR_INVALID_DATA;
    uint32_t n = bytes / kRecordSize;
    if (n == 0) return ERROR_SUCCESS;
    if constexpr (Kind == DeviceKind::Keyboard) n = CollapsePause(raw, n);
    // Unit k ends before raw record k + 1 begins, and each record is read before its unit is
    // written, so converting forwards needs no second buffer.
    for (uint32_t k = 0; k < n; ++k) {
      if constexpr (Kind == DeviceKind::Mouse) {
        MouseRecordToUnit(raw + k * kRecordSize, buffer + k * kUnitSize);
      } else {
        KeyboardRecordToUnit(raw + k * kRecordSize, buffer + k * kUnitSize);
      }
    }
    count = n;
    return ERROR_SUCCESS;
  }

  // Drops everything queued for this handle.
  uint32_t Flush() {
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    return device_.Flush();
  }

  // kBindModeBound or kBindModeFree.
  uint32_t SetBindMode(uint32_t mode) {
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    return Control(platform::IOCTL_INPDEV_SET_MODE, &mode, sizeof mode);
  }

  // Raw records waiting; 0 when closed or when the request fails.
  uint32_t GetQueuedCount() requires(Kind == DeviceKind::Keyboard) {
    if (!IsOpen()) return 0;
    uint32_t queued = 0;
    uint32_t returned = 0;
    const uint32_t error = device_.Control(platform::IOCTL_INPDEV_GET_QUEUED, nullptr, 0, &queued,
                                           sizeof queued, returned);
    return error == 0 ? queued : 0;
  }

  // Hands the session agent's word to the keyboard driver unchanged.
  uint32_t SendKeyboardWord(uint16_t word) requires(Kind == DeviceKind::Keyboard) {
    if (!IsOpen()) return ERROR_INVALID_HANDLE;
    return Control(platform::IOCTL_INPDEV_SEND_WORD, &word, sizeof word);
  }

 private:
  static constexpr int kPauseRecords = 4;
  static constexpr int kPausePolls = 20;
  static constexpr auto kPausePollGap = std::chrono::milliseconds(10);

  uint32_t Control(uint32_t code, const void* in, uint32_t inSize) {
    uint32_t returned = 0;
    return device_.Control(code, in, inSize, nullptr, 0, returned);
  }

  uint32_t SendEvent(int fd) {
    const uint32_t value = static_cast<uint32_t>(fd);
    return Control(platform::IOCTL_INPDEV_SET_EVENT, &value, sizeof value);
  }

  uint32_t Wait(uint32_t timeoutMs) const {
    if (event_ == nullptr) return ERROR_INVALID_HANDLE;
    const platform::Event* events[] = {event_};
    switch (platform::WaitAny(events, timeoutMs)) {
      case 0:
        return ERROR_SUCCESS;
      case platform::kWaitTimeout:
        return ERROR_TIMEOUT;
      case platform::kWaitFailed:
        return platform::LastError();
      default:
        return ERROR_READ_FAULT;
    }
  }

  // The driver sends one Pause press as four records, the first with E1; they become that one
  // record. Returns the new record count. Only the first E1 record of a read is collapsed.
  uint32_t CollapsePause(uint8_t* raw, uint32_t n) {
    uint32_t i = 0;
    while (i < n && !(RawKeyFlags(raw + i * kRecordSize) & KEY_E1)) ++i;
    if (i == n) return n;
    const uint32_t m = n - i;
    if (m >= kPauseRecords) {
      std::memmove(raw + (i + 1) * kRecordSize, raw + (i + kPauseRecords) * kRecordSize,
                   (m - kPauseRecords) * kRecordSize);
      return n - (kPauseRecords - 1);
    }
    // Cut short: the rest is dropped when it comes soon enough, else a later read delivers it.
    const uint32_t missing = kPauseRecords - m;
    for (int poll = 0; poll < kPausePolls && IsOpen(); ++poll) {
      if (GetQueuedCount() >= missing) {
        uint8_t rest[(kPauseRecords - 1) * kKeyboardRecordSize];
        uint32_t ignored = 0;
        device_.Read(rest, missing * kRecordSize, ignored);
        break;
      }
      std::this_thread::sleep_for(kPausePollGap);
    }
    return i + 1;
  }

  static uint16_t RawKeyFlags(const uint8_t* record) {
    uint16_t flags;
    std::memcpy(&flags, record + kRawKeyFlags, sizeof flags);
    return flags;
  }

  File device_;
  std::optional<platform::Event> ownEvent_;
  const platform::Event* event_ = nullptr;  // ownEvent_'s or the caller's
  bool eventBorrowed_ = false;
};

}  // namespace vorlix
