#include <gtest/gtest.h>

#include <ostream>

#include "tests/inputdev/FakeDeviceFixture.h"
#include "tests/inputdev/Records.h"

namespace vorlix::test {
namespace {

struct ConversionCase {
  const char* name;
  DeviceKind kind;
  Bytes raw;
  uint32_t result;
  Bytes units;
};

const ConversionCase kCases[] = {
    {"empty read", DeviceKind::Mouse, {}, 0, {}},
    {"mouse, nothing set", DeviceKind::Mouse, MouseRecord(0, 0, 0, 0), 0, MouseUnit(0, 0, 0, 0)},
    {"mouse, motion and left down", DeviceKind::Mouse, MouseRecord(0x0001, 0, 5, -3, 0x11223344), 0,
     MouseUnit(5, -3, 0, 0x0003, 0x11223344)},
    {"mouse, every up and down of the first three buttons", DeviceKind::Mouse,
     MouseRecord(0x003F, 0, 0, 0), 0, MouseUnit(0, 0, 0, 0x007E)},
    {"mouse, button 4 down with wheel", DeviceKind::Mouse, MouseRecord(0x0440, 120, 0, 0), 0,
     MouseUnit(0, 0, 120, 0x0880)},
    {"mouse, buttons 4 and 5 down", DeviceKind::Mouse, MouseRecord(0x0140, 0, 0, 0), 0,
     MouseUnit(0, 0, 2, 0x0080)},
    {"mouse, button 4 up", DeviceKind::Mouse, MouseRecord(0x0080, 0, 0, 0), 0,
     MouseUnit(0, 0, 1, 0x0100)},
    {"mouse, button 5 up", DeviceKind::Mouse, MouseRecord(0x0200, 0, 0, 0), 0,
     MouseUnit(0, 0, 2, 0x0100)},
    {"mouse, wheel -120", DeviceKind::Mouse, MouseRecord(0x0400, 0xFF88, 0, 0), 0,
     MouseUnit(0, 0, 0xFFFFFF88, 0x0800)},
    {"mouse, button data without wheel flag", DeviceKind::Mouse, MouseRecord(0, 0xFF88, 0, 1), 0,
     MouseUnit(0, 1, 0, 0x0001)},
    {"mouse, 25 bytes", DeviceKind::Mouse, Join({MouseRecord(0, 0, 1, 1), Bytes{0}}), 13, {}},
    {"key make", DeviceKind::Keyboard, KeyRecord(0x1E, 0, 0xCAFEF00D), 0,
     KeyUnit(0, 0x1E, 0x0008, 0xCAFEF00D)},
    {"key break", DeviceKind::Keyboard, KeyRecord(0x1E, 0x0001), 0, KeyUnit(0, 0x1E, 0x000A)},
    {"E0 key make", DeviceKind::Keyboard, KeyRecord(0x48, 0x0002), 0, KeyUnit(0, 0x48, 0x0009)},
    {"E0 key break", DeviceKind::Keyboard, KeyRecord(0x48, 0x0003), 0, KeyUnit(0, 0x48, 0x000B)},
    {"E1 with break", DeviceKind::Keyboard,
     Join({KeyRecord(0x1D, 0x0005, 9), KeyRecord(0x45, 0), KeyRecord(0x1D, 1), KeyRecord(0x45, 1)}),
     0, KeyUnit(0x13, 0, 0, 9)},
    {"keyboard, 13 bytes", DeviceKind::Keyboard, Join({KeyRecord(0x1E, 0), Bytes{0}}), 13, {}},
};

void PrintTo(const ConversionCase& c, std::ostream* out) { *out << c.name; }

class ConversionTest : public FakeDeviceFixture,
                       public ::testing::WithParamInterface<ConversionCase> {
 protected:
  // The buffer holds every raw byte queued, so the read takes them all in one go.
  template <typename Handle>
  void Check(const ConversionCase& c) {
    Handle handle;
    OpenFirst(handle);
    driver_.Queue(c.raw);
    const uint32_t size = Handle::kRecordSize;
    const auto maxUnits = std::max<uint32_t>(1, (c.raw.size() + size - 1) / size);
    Bytes buffer(maxUnits * kUnitSize, 0xAA);
    uint32_t count = 99;
    EXPECT_EQ(handle.Read(maxUnits, buffer.data(), 0, count), c.result);
    EXPECT_EQ(count, c.units.size() / kUnitSize);
    buffer.resize(count * kUnitSize);
    EXPECT_EQ(buffer, c.units);
  }
};

TEST_P(ConversionTest, ReadDeliversTheUnitsByteForByte) {
  if (GetParam().kind == DeviceKind::Mouse) {
    Check<Mouse>(GetParam());
  } else {
    Check<Keyboard>(GetParam());
  }
}

INSTANTIATE_TEST_SUITE_P(Records, ConversionTest, ::testing::ValuesIn(kCases),
                         [](const auto& row) { return CaseName(row.param.name); });

// Many records in one read: every unit must come out whole although the raw records share the
// buffer with the units written before them.
class InPlaceTest : public FakeDeviceFixture {};

TEST_F(InPlaceTest, AFullBufferOfRecordsConvertsInPlace) {
  Bytes raw;
  Bytes units;
  for (int k = 0; k < 56; ++k) {
    raw = Join({raw, MouseRecord(0x0001, 0, k, -k, 1000 + k)});
    units = Join({units, MouseUnit(k, -k, 0, k == 0 ? 0x0002 : 0x0003, 1000 + k)});
  }
  Mouse mouse;
  OpenFirst(mouse);
  driver_.Queue(raw);
  Bytes buffer(56 * kUnitSize);
  uint32_t count = 0;
  ASSERT_EQ(mouse.Read(56, buffer.data(), 0, count), 0u);
  EXPECT_EQ(count, 56u);
  EXPECT_EQ(buffer, units);
}

}  // namespace
}  // namespace vorlix::test
