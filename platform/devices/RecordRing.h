#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/system/Handle.h"

namespace vorlix::platform {

// A bounded queue of fixed-size records in shared memory (a memfd) with one producer, the input
// service, and one consumer, the process that opened the device; the indices are atomics with
// acquire/release, so neither side takes a lock or makes a system call. When the ring is full
// the NEWEST record is dropped: only the consumer ever moves the read index. The producer marks
// the ring dead when its device goes away. The consumer is not trusted: the producer never
// reaches outside the mapping whatever the indices hold.
class RecordRing {
 public:
  static constexpr uint32_t kCapacity = 1024;

  RecordRing() = default;
  RecordRing(RecordRing&&) noexcept;
  RecordRing& operator=(RecordRing&&) noexcept;
  ~RecordRing();

  // A new empty ring for records of recordSize bytes. 0 or an error number.
  static uint32_t Create(uint32_t recordSize, RecordRing& out);
  // Maps a ring received from the producer; 13 when it is not one of records of recordSize.
  static uint32_t Attach(Handle fd, uint32_t recordSize, RecordRing& out);

  int Fd() const { return fd_.Get(); }
  uint32_t RecordSize() const { return recordSize_; }

  // Producer: false when the ring is full and the record was dropped.
  bool Push(const void* record);
  void MarkDead();

  // Consumer: copies up to maxRecords whole records, oldest first; returns how many.
  uint32_t Pop(void* out, uint32_t maxRecords);
  uint32_t Queued() const;
  void Drop();
  bool IsDead() const;

 private:
  struct Header;
  static uint32_t Map(Handle fd, uint32_t recordSize, RecordRing& ring);
  Header* header() const { return static_cast<Header*>(map_); }
  unsigned char* Slot(uint32_t index) const;
  void Unmap();

  Handle fd_;
  void* map_ = nullptr;
  size_t size_ = 0;
  uint32_t recordSize_ = 0;
};

}  // namespace vorlix::platform
