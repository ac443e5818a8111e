#include "platform/devices/DeviceFile.h"

#include <fcntl.h>
#include <poll.h>

#include <cstring>
#include <utility>

#include "common/ResultCodes.h"
#include "platform/devices/FrameSocket.h"
#include "platform/devices/RecordRing.h"

namespace vorlix::platform {

namespace protocol = input_protocol;

struct DeviceFile::Impl {
  Handle socket;
  RecordRing ring;
};

namespace {

// The service never speaks unasked, so a readable or hung-up socket means it has gone.
bool ServiceGone(int socket) {
  pollfd p{socket, POLLIN, 0};
  return ::poll(&p, 1, 0) != 0;
}

constexpr uint32_t kMouseRecordSize = 24;
constexpr uint32_t kKeyboardRecordSize = 12;

uint32_t OpenRing(int socket, RecordRing& ring) {
  protocol::FrameHeader reply{};
  uint32_t recordSize = 0;
  Handle ringFd;
  if (ReceiveFrame(socket, reply, &recordSize, sizeof recordSize, ringFd) != 0) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (reply.code != 0) return reply.code;
  if (reply.length != sizeof recordSize || !ringFd) return ERROR_INVALID_DATA;
  // Only the two record layouts exist; anything else would break every read.
  if (recordSize != kMouseRecordSize && recordSize != kKeyboardRecordSize)
    return ERROR_INVALID_DATA;
  return RecordRing::Attach(std::move(ringFd), recordSize, ring);
}

}  // namespace

DeviceFile::DeviceFile(DeviceFile&& other) noexcept : impl_(std::exchange(other.impl_, nullptr)) {}

DeviceFile& DeviceFile::operator=(DeviceFile&& other) noexcept {
  if (this != &other) {
    Close();
    impl_ = std::exchange(other.impl_, nullptr);
  }
  return *this;
}

DeviceFile::~DeviceFile() { Close(); }

uint32_t DeviceFile::Open(const std::string& name, DeviceFile& out) {
  // Composed in 256 bytes with its zero; a longer name is refused, never cut to another's.
  if (name.size() > protocol::kMaxOpenName) return ERROR_INVALID_NAME;
  Handle socket;
  if (ConnectToInputService(socket) != 0) return ERROR_FILE_NOT_FOUND;
  if (SendFrame(socket.Get(), protocol::kOpen, name.data(), static_cast<uint32_t>(name.size())) !=
      0) {
    return ERROR_FILE_NOT_FOUND;
  }
  RecordRing ring;
  if (const uint32_t result = OpenRing(socket.Get(), ring); result != 0) return result;
  out.Close();
  out.impl_ = new Impl{std::move(socket), std::move(ring)};
  return 0;
}

bool DeviceFile::IsOpen() const { return impl_ != nullptr; }

uint32_t DeviceFile::Read(void* buffer, uint32_t size, uint32_t& bytesRead) {
  bytesRead = 0;
  if (impl_ == nullptr) return ERROR_INVALID_HANDLE;
  RecordRing& ring = impl_->ring;
  const uint32_t count = ring.Pop(buffer, size / ring.RecordSize());
  if (count == 0 && (ring.IsDead() || ServiceGone(impl_->socket.Get()))) {
    return ERROR_DEVICE_NOT_CONNECTED;
  }
  bytesRead = count * ring.RecordSize();
  return 0;
}

uint32_t DeviceFile::Control(uint32_t code, const void* in, uint32_t inSize, void* out,
                             uint32_t outSize, uint32_t& returned) {
  returned = 0;
  if (impl_ == nullptr) return ERROR_INVALID_HANDLE;
  const int socket = impl_->socket.Get();
  switch (code) {
    case IOCTL_INPDEV_SET_EVENT: {
      int32_t fd = 0;
      if (inSize != sizeof fd) return ERROR_INVALID_DATA;
      std::memcpy(&fd, in, sizeof fd);
      if (fd != 0 && ::fcntl(fd, F_GETFD) < 0) return ERROR_INVALID_HANDLE;
      return Transact(socket, protocol::kSetEvent, &fd, sizeof fd, fd == 0 ? -1 : fd);
    }
    case IOCTL_INPDEV_GET_QUEUED: {
      const uint32_t queued = impl_->ring.Queued();
      if (outSize < sizeof queued) return ERROR_INVALID_DATA;
      std::memcpy(out, &queued, sizeof queued);
      returned = sizeof queued;
      return 0;
    }
    case IOCTL_INPDEV_SEND_WORD:
      if (inSize != 2) return ERROR_INVALID_DATA;
      return Transact(socket, protocol::kSendWord, in, inSize);
    case IOCTL_INPDEV_SET_MODE:
      if (inSize != 4) return ERROR_INVALID_DATA;
      return Transact(socket, protocol::kSetMode, in, inSize);
    default:
      return ERROR_INVALID_DATA;
  }
}

uint32_t DeviceFile::Flush() {
  if (impl_ == nullptr) return ERROR_INVALID_HANDLE;
  // Dropping is the consumer's move of the read index: no round trip.
  impl_->ring.Drop();
  return 0;
}

void DeviceFile::Close() { delete std::exchange(impl_, nullptr); }

}  // namespace vorlix::platform
