#pragma once

#include <cstdint>
#include <string>

// A device of the input service opened like a file: open by name without sharing, reads that
// complete at once, control requests with the input service's four codes, flush, close.
// Results are 0 or platform error numbers: 2 no such device, 5 denied, 6 not open,
// 32 already open elsewhere, 123 a name too long for the 256-byte open name, 13 a bad request,
// 1167 the device went away. One object is used by one thread at a time.
namespace vorlix::platform {

inline constexpr uint32_t IOCTL_INPDEV_SET_EVENT = 0x222000;
inline constexpr uint32_t IOCTL_INPDEV_GET_QUEUED = 0x222004;
inline constexpr uint32_t IOCTL_INPDEV_SEND_WORD = 0x222008;
inline constexpr uint32_t IOCTL_INPDEV_SET_MODE = 0x222010;

class DeviceFile {
 public:
  DeviceFile() = default;
  DeviceFile(DeviceFile&&) noexcept;
  DeviceFile& operator=(DeviceFile&&) noexcept;
  ~DeviceFile();

  // `name` is the device path followed by "edo".
  static uint32_t Open(const std::string& name, DeviceFile& out);
  bool IsOpen() const;

  // As many whole records as wait and fit into `size` bytes; 0 bytes when none wait. Never
  // blocks and makes no round trip to the service.
  uint32_t Read(void* buffer, uint32_t size, uint32_t& bytesRead);
  // IOCTL_INPDEV_SET_EVENT takes the 4-byte value of an Event's descriptor in this process
  // (0 withdraws it); the service then sets that event whenever it queues input for this open.
  uint32_t Control(uint32_t code, const void* in, uint32_t inSize, void* out, uint32_t outSize,
                   uint32_t& returned);
  // Drops everything queued for this open.
  uint32_t Flush();
  void Close();

 private:
  struct Impl;
  Impl* impl_ = nullptr;
};

}  // namespace vorlix::platform
