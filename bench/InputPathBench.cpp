// The input path a client runs for every device read: records out of the shared ring into the
// tail of the unit buffer, then converted in place. Nothing on it may allocate or take a lock.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "inputdev/InputUnits.h"
#include "platform/devices/RecordRing.h"

namespace {

using vorlix::platform::RecordRing;

constexpr uint32_t kUnits = 56;  // the client's read buffer
constexpr uint32_t kUnitSize = 28;
constexpr uint32_t kMouseRecord = 24;

std::array<uint8_t, kMouseRecord> MoveRecord() {
  std::array<uint8_t, kMouseRecord> record{};
  const int32_t dx = 3;
  const int32_t dy = -2;
  record[4] = 0x01;  // left down
  std::memcpy(&record[12], &dx, 4);
  std::memcpy(&record[16], &dy, 4);
  return record;
}

void BM_MouseReadAndConvert(benchmark::State& state) {
  RecordRing producer;
  if (RecordRing::Create(kMouseRecord, producer) != 0) {
    state.SkipWithError("no ring");
    return;
  }
  const auto record = MoveRecord();
  alignas(4) std::array<uint8_t, kUnits * kUnitSize> units{};
  uint8_t* tail = units.data() + kUnits * (kUnitSize - kMouseRecord);
  for (auto _ : state) {
    for (uint32_t i = 0; i < kUnits; ++i) producer.Push(record.data());
    const uint32_t count = producer.Pop(tail, kUnits);
    for (uint32_t i = 0; i < count; ++i) {
      vorlix::MouseRecordToUnit(tail + i * kMouseRecord, units.data() + i * kUnitSize);
    }
    benchmark::DoNotOptimize(units.data());
  }
  state.SetItemsProcessed(state.iterations() * kUnits);
}
BENCHMARK(BM_MouseReadAndConvert);

}  // namespace

BENCHMARK_MAIN();
