#include "platform/devices/RecordRing.h"

#include <fcntl.h>

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <utility>

#include "common/ResultCodes.h"

namespace vorlix::platform {

struct RecordRing::Header {
  std::atomic<uint32_t> head;  // records ever written; only the producer stores it
  std::atomic<uint32_t> tail;  // records ever taken; only the consumer stores it
  std::atomic<uint32_t> dead;
  uint32_t recordSize;
};

namespace {

static_assert(std::atomic<uint32_t>::is_always_lock_free, "shared between processes");
// Records start on their own cache line, away from the indices.
constexpr size_t kDataOffset = 64;
static_assert(kDataOffset >= sizeof(uint32_t) * 4);

size_t MappingSize(uint32_t recordSize) {
  return kDataOffset + size_t{RecordRing::kCapacity} * recordSize;
}

}  // namespace

RecordRing::RecordRing(RecordRing&& other) noexcept { *this = std::move(other); }

RecordRing& RecordRing::operator=(RecordRing&& other) noexcept {
  if (this != &other) {
    Unmap();
    fd_ = std::move(other.fd_);
    map_ = std::exchange(other.map_, nullptr);
    size_ = std::exchange(other.size_, 0);
    recordSize_ = std::exchange(other.recordSize_, 0);
  }
  return *this;
}

RecordRing::~RecordRing() { Unmap(); }

void RecordRing::Unmap() {
  if (map_ != nullptr) ::munmap(map_, size_);
  map_ = nullptr;
}

uint32_t RecordRing::Map(Handle fd, uint32_t recordSize, RecordRing& ring) {
  const size_t size = MappingSize(recordSize);
  void* map = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd.Get(), 0);
  if (map == MAP_FAILED) return ERROR_NOT_ENOUGH_MEMORY;
  ring.fd_ = std::move(fd);
  ring.map_ = map;
  ring.size_ = size;
  ring.recordSize_ = recordSize;
  return 0;
}

uint32_t RecordRing::Create(uint32_t recordSize, RecordRing& out) {
  Handle fd(::memfd_create("vorlix-ring", MFD_CLOEXEC | MFD_ALLOW_SEALING));
  if (!fd) return ERROR_NOT_ENOUGH_MEMORY;
  const size_t size = MappingSize(recordSize);
  if (::ftruncate(fd.Get(), static_cast<off_t>(size)) != 0) return ERROR_NOT_ENOUGH_MEMORY;
  // The reader gets this descriptor: sealed, it cannot shrink the file under our mapping.
  if (::fcntl(fd.Get(), F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_SEAL) != 0) {
    return ERROR_NOT_ENOUGH_MEMORY;
  }
  RecordRing ring;
  if (const uint32_t error = Map(std::move(fd), recordSize, ring)) return error;
  new (ring.map_) Header{{0}, {0}, {0}, recordSize};
  out = std::move(ring);
  return 0;
}

uint32_t RecordRing::Attach(Handle fd, uint32_t recordSize, RecordRing& out) {
  struct stat info {};
  const size_t size = MappingSize(recordSize);
  if (::fstat(fd.Get(), &info) != 0 || static_cast<size_t>(info.st_size) != size) {
    return ERROR_INVALID_DATA;
  }
  RecordRing ring;
  if (const uint32_t error = Map(std::move(fd), recordSize, ring)) return error;
  if (ring.header()->recordSize != recordSize) return ERROR_INVALID_DATA;
  out = std::move(ring);
  return 0;
}

unsigned char* RecordRing::Slot(uint32_t index) const {
  return static_cast<unsigned char*>(map_) + kDataOffset + size_t{index % kCapacity} * recordSize_;
}

bool RecordRing::Push(const void* record) {
  const uint32_t head = header()->head.load(std::memory_order_relaxed);
  const uint32_t tail = header()->tail.load(std::memory_order_acquire);
  // Unsigned distance: a consumer that wrote nonsense into tail only makes us drop.
  if (head - tail >= kCapacity) return false;
  std::memcpy(Slot(head), record, recordSize_);
  header()->head.store(head + 1, std::memory_order_release);
  return true;
}

void RecordRing::MarkDead() { header()->dead.store(1, std::memory_order_release); }

uint32_t RecordRing::Pop(void* out, uint32_t maxRecords) {
  const uint32_t tail = header()->tail.load(std::memory_order_relaxed);
  const uint32_t count = std::min(Queued(), maxRecords);
  auto* bytes = static_cast<unsigned char*>(out);
  for (uint32_t i = 0; i < count; ++i) {
    std::memcpy(bytes + size_t{i} * recordSize_, Slot(tail + i), recordSize_);
  }
  header()->tail.store(tail + count, std::memory_order_release);
  return count;
}

uint32_t RecordRing::Queued() const {
  const uint32_t head = header()->head.load(std::memory_order_acquire);
  const uint32_t tail = header()->tail.load(std::memory_order_relaxed);
  return std::min(head - tail, kCapacity);
}

void RecordRing::Drop() {
  header()->tail.store(header()->head.load(std::memory_order_acquire), std::memory_order_release);
}

bool RecordRing::IsDead() const { return header()->dead.load(std::memory_order_acquire) != 0; }

}  // namespace vorlix::platform
