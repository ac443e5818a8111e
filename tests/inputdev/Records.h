#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

// Raw records and input units spelled out byte by byte, little-endian, independently of the
// code under test.
namespace vorlix::test {

using Bytes = std::vector<uint8_t>;

inline void Append(Bytes& out, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

inline Bytes KeyRecord(uint16_t makeCode, uint16_t flags, uint32_t extra = 0) {
  Bytes b;
  Append(b, 7, 2);  // unit number: ignored
  Append(b, makeCode, 2);
  Append(b, flags, 2);
  Append(b, 0xBEEF, 2);  // reserved: ignored
  Append(b, extra, 4);
  return b;
}

inline Bytes MouseRecord(uint16_t buttons, uint16_t data, int32_t dx, int32_t dy,
                         uint32_t extra = 0) {
  Bytes b;
  Append(b, 7, 2);       // unit number: ignored
  Append(b, 0x0001, 2);  // record flags (absolute): ignored
  Append(b, buttons, 2);
  Append(b, data, 2);
  Append(b, 0xFFFFFFFF, 4);  // raw buttons: ignored
  Append(b, static_cast<uint32_t>(dx), 4);
  Append(b, static_cast<uint32_t>(dy), 4);
  Append(b, extra, 4);
  return b;
}

inline Bytes KeyUnit(uint16_t vk, uint16_t scan, uint32_t flags, uint32_t extra = 0) {
  Bytes b;
  Append(b, 1, 4);
  Append(b, vk, 2);
  Append(b, scan, 2);
  Append(b, flags, 4);
  Append(b, 0, 4);
  Append(b, extra, 4);
  Append(b, 0, 4);
  Append(b, 0, 4);
  return b;
}

inline Bytes MouseUnit(int32_t dx, int32_t dy, uint32_t data, uint32_t flags, uint32_t extra = 0) {
  Bytes b;
  Append(b, 0, 4);
  Append(b, static_cast<uint32_t>(dx), 4);
  Append(b, static_cast<uint32_t>(dy), 4);
  Append(b, data, 4);
  Append(b, flags, 4);
  Append(b, 0, 4);
  Append(b, extra, 4);
  return b;
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
  return out;
}

}  // namespace vorlix::test
