#include "tools/testserver/TestPicture.h"

#include <algorithm>
#include <array>

#include <freerdp/constants.h>

namespace vorlix::testserver {

namespace {

// 64x32 pixels of 32 bits are 8 KiB, one fast-path fragment even without multi-fragment support.
constexpr uint32_t kTileWidth = 64;
constexpr uint32_t kTileHeight = 32;
constexpr uint32_t kBytesPerPixel = 4;
constexpr uint32_t kMaxBlockSize = 96;
constexpr uint32_t kMinBlockSize = 8;
constexpr uint32_t kWhite = 0xFFFFFF;

constexpr std::array<uint32_t, 8> kBars = {0xC0C0C0, 0xC0C000, 0x00C0C0, 0x00C000,
                                           0xC000C0, 0xC00000, 0x0000C0, 0x404040};

// Each bar darkens from top to bottom, so no two rows look alike either.
uint32_t Shade(uint32_t rgb, uint32_t y, uint32_t height) {
  const uint32_t scale = 256 - 128 * y / height;
  uint32_t shaded = 0;
  for (const uint32_t shift : {0u, 8u, 16u}) {
    shaded |= (((rgb >> shift) & 0xFF) * scale / 256) << shift;
  }
  return shaded;
}

}  // namespace

TestPicture::TestPicture(uint32_t width, uint32_t height)
    : width_(width),
      height_(height),
      blockSize_(std::clamp(std::min(width, height) / 4, kMinBlockSize, kMaxBlockSize)),
      stepX_(8),
      stepY_(6),
      pixels_(kTileWidth * kTileHeight * kBytesPerPixel) {}

bool TestPicture::PaintAll(rdpContext* context) { return Paint(context, {0, 0, width_, height_}); }

bool TestPicture::Step(rdpContext* context) {
  const Rect before = Block();
  // Bounce off the edges; a desktop smaller than the block keeps it still on that axis.
  const auto move = [](int64_t& at, int64_t& step, uint32_t room) {
    if (at + step < 0 || at + step > room) step = -step;
    at = std::clamp<int64_t>(at + step, 0, room);
  };
  move(blockX_, stepX_, width_ - std::min(width_, blockSize_));
  move(blockY_, stepY_, height_ - std::min(height_, blockSize_));
  const Rect after = Block();
  return Paint(context,
               {std::min(before.left, after.left), std::min(before.top, after.top),
                std::max(before.right, after.right), std::max(before.bottom, after.bottom)});
}

TestPicture::Rect TestPicture::Block() const {
  const auto left = static_cast<uint32_t>(blockX_);
  const auto top = static_cast<uint32_t>(blockY_);
  return {left, top, std::min(width_, left + blockSize_), std::min(height_, top + blockSize_)};
}

uint32_t TestPicture::PixelAt(uint32_t x, uint32_t y) const {
  const Rect block = Block();
  if (x >= block.left && x < block.right && y >= block.top && y < block.bottom) return kWhite;
  return Shade(kBars[x * kBars.size() / width_], y, height_);
}

bool TestPicture::Paint(rdpContext* context, const Rect& area) {
  for (uint32_t top = area.top; top < area.bottom; top += kTileHeight) {
    for (uint32_t left = area.left; left < area.right; left += kTileWidth) {
      const Rect tile{left, top, std::min(area.right, left + kTileWidth),
                      std::min(area.bottom, top + kTileHeight)};
      if (!SendTile(context, tile)) return false;
    }
  }
  return true;
}

bool TestPicture::SendTile(rdpContext* context, const Rect& tile) {
  const uint32_t width = tile.right - tile.left;
  const uint32_t height = tile.bottom - tile.top;
  // Uncompressed surface bits are bottom-up rows of B, G, R, A.
  uint8_t* out = pixels_.data();
  for (uint32_t row = height; row-- > 0;) {
    for (uint32_t x = tile.left; x < tile.right; ++x) {
      const uint32_t rgb = PixelAt(x, tile.top + row);
      *out++ = static_cast<uint8_t>(rgb);
      *out++ = static_cast<uint8_t>(rgb >> 8);
      *out++ = static_cast<uint8_t>(rgb >> 16);
      *out++ = 0xFF;
    }
  }
  SURFACE_BITS_COMMAND command{};
  command.cmdType = CMDTYPE_SET_SURFACE_BITS;
  command.destLeft = tile.left;
  command.destTop = tile.top;
  command.destRight = tile.right;
  command.destBottom = tile.bottom;
  command.bmp.bpp = 32;
  command.bmp.codecID = RDP_CODEC_ID_NONE;
  command.bmp.width = static_cast<UINT16>(width);
  command.bmp.height = static_cast<UINT16>(height);
  command.bmp.bitmapDataLength = width * height * kBytesPerPixel;
  command.bmp.bitmapData = pixels_.data();
  return context->update->SurfaceBits(context, &command);
}

}  // namespace vorlix::testserver
