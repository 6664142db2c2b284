// Area-averaging bitmap scaling with 12-bit fixed-point weights on 24-bit pixel rows.
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/Image.h"

namespace widgets {

// How a 24-bit row buffer is laid out: the fields of a bitmap information header.
struct RowBufferInfo {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 24;
  uint32_t compression = 0;
  uint32_t sizeImage = 0;
};

// Pixels as blue, green, red bytes; every row padded to a multiple of 4 bytes.
struct RowBuffer {
  RowBuffer(uint16_t width, uint16_t height);

  static size_t rowSizeFor(uint16_t width) { return (static_cast<size_t>(width) * 3u + 3u) & ~size_t{3}; }
  uint8_t* row(size_t y) { return bytes.data() + y * rowSize; }
  const uint8_t* row(size_t y) const { return bytes.data() + y * rowSize; }

  RowBufferInfo info;
  size_t rowSize;
  std::vector<uint8_t> bytes;
};

// One entry per pixel along an axis. w0 and w1 are in units of 1/4096; w1 = kCellEnd marks a
// pixel that completes its cell exactly.
struct WeightEntry {
  int32_t w0 = 0;
  int32_t w1 = 0;
};
inline constexpr int32_t kCellEnd = -1;

std::vector<WeightEntry> BuildWeights(int32_t n, int32_t m, bool normalise);

// Both passes expect 0 < destination size <= source size (Shrink) or the reverse (Enlarge)
// along each axis, as ScaleBitmap arranges.
void Shrink(const RowBuffer& source, uint16_t sourceWidth, uint16_t sourceHeight, RowBuffer& destination,
            uint16_t width, uint16_t height);
void Enlarge(const RowBuffer& source, uint16_t sourceWidth, uint16_t sourceHeight, RowBuffer& destination,
             uint16_t width, uint16_t height);

// The image's colour channels as 24-bit rows (alpha is dropped), and back as opaque pixels.
RowBuffer ReadRows(const toolkit::Image& image);
toolkit::Image WriteRows(const RowBuffer& rows);

// A new image of width x height scaled from the image; null when one dimension would grow
// while the other shrinks, or when a dimension is 0.
toolkit::ImageHandle ScaleBitmap(const toolkit::Image& image, uint16_t width, uint16_t height);

}  // namespace widgets
