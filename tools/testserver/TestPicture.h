#pragma once

#include <cstdint>
#include <vector>

#include <freerdp/freerdp.h>

namespace vorlix::testserver {

// The desktop of a connection: colour bars with a white block that moves one step per frame, sent
// as uncompressed surface bits in tiles that each fit one fast-path fragment.
class TestPicture {
 public:
  TestPicture(uint32_t width, uint32_t height);

  bool PaintAll(rdpContext* context);
  // Moves the block and paints where it was and where it is now.
  bool Step(rdpContext* context);

 private:
  struct Rect {
    uint32_t left = 0;
    uint32_t top = 0;
    uint32_t right = 0;
    uint32_t bottom = 0;
  };

  Rect Block() const;
  uint32_t PixelAt(uint32_t x, uint32_t y) const;
  bool Paint(rdpContext* context, const Rect& area);
  bool SendTile(rdpContext* context, const Rect& tile);

  uint32_t width_;
  uint32_t height_;
  uint32_t blockSize_;
  int64_t blockX_ = 0;
  int64_t blockY_ = 0;
  int64_t stepX_;
  int64_t stepY_;
  std::vector<uint8_t> pixels_;
};

}  // namespace vorlix::testserver
