#include "widgets/BitmapScaler.h"

#include <algorithm>

namespace widgets {
namespace {

constexpr int64_t kOne = 4096;
constexpr int kChannels = 3;

using Sums = std::vector<uint32_t>;

void AddPixel(Sums& sums, size_t column, const uint8_t* pixel, uint32_t weight) {
  for (int channel = 0; channel < kChannels; ++channel) {
    sums[column * kChannels + static_cast<size_t>(channel)] += pixel[channel] * weight;
  }
}

// Each channel byte is the top byte of its 32-bit sum.
void WriteRow(const Sums& sums, uint8_t* row, uint16_t width) {
  for (size_t i = 0; i < static_cast<size_t>(width) * kChannels; ++i) row[i] = static_cast<uint8_t>(sums[i] >> 24);
}

uint32_t Product(int32_t a, int32_t b) { return static_cast<uint32_t>(a) * static_cast<uint32_t>(b); }

}  // namespace

RowBuffer::RowBuffer(uint16_t width, uint16_t height) : rowSize(rowSizeFor(width)), bytes(rowSize * height, 0) {
  info.width = width;
  info.height = height;
  info.sizeImage = static_cast<uint32_t>(rowSize * height);
}

std::vector<WeightEntry> BuildWeights(int32_t n, int32_t m, bool normalise) {
  const int64_t full = normalise ? (int64_t{m} * kOne) / n : kOne;
  const int64_t divisor = normalise ? n : m;
  std::vector<WeightEntry> weights(static_cast<size_t>(n > 0 ? n : 0));
  int64_t acc = 0;
  for (WeightEntry& entry : weights) {
    int64_t s = acc + m;
    if (s > n) {
      entry.w0 = static_cast<int32_t>(((n - acc) * kOne) / divisor);
      s -= n;
      entry.w1 = static_cast<int32_t>((s * kOne) / divisor);
    } else {
      entry.w0 = static_cast<int32_t>(full);
      if (s == n) {
        entry.w1 = kCellEnd;
        s = 0;
      } else {
        entry.w1 = 0;
      }
    }
    acc = s;
  }
  return weights;
}

void Shrink(const RowBuffer& source, uint16_t sourceWidth, uint16_t sourceHeight, RowBuffer& destination,
            uint16_t width, uint16_t height) {
  const auto xw = BuildWeights(sourceWidth, width, true);
  const auto yw = BuildWeights(sourceHeight, height, true);
  // One spare column: a straddling pixel's right share of the last cell is always 0.
  Sums current(static_cast<size_t>(width + 1) * kChannels, 0);
  Sums next(current.size(), 0);
  size_t written = 0;
  for (size_t y = 0; y < sourceHeight && written < height; ++y) {
    const WeightEntry& wy = yw[y];
    const uint8_t* pixel = source.row(y);
    size_t c = 0;
    for (size_t x = 0; x < sourceWidth && c < width; ++x, pixel += kChannels) {
      const WeightEntry& wx = xw[x];
      AddPixel(current, c, pixel, Product(wy.w0, wx.w0));
      if (wx.w1 > 0) AddPixel(current, c + 1, pixel, Product(wy.w0, wx.w1));
      if (wy.w1 > 0) {
        AddPixel(next, c, pixel, Product(wy.w1, wx.w0));
        if (wx.w1 > 0) AddPixel(next, c + 1, pixel, Product(wy.w1, wx.w1));
      }
      if (wx.w1 != 0) ++c;
    }
    if (wy.w1 != 0) {
      WriteRow(current, destination.row(written++), width);
      current.swap(next);
      std::fill(next.begin(), next.end(), 0u);
    }
  }
}

void Enlarge(const RowBuffer& source, uint16_t sourceWidth, uint16_t sourceHeight, RowBuffer& destination,
             uint16_t width, uint16_t height) {
  const auto xw = BuildWeights(width, sourceWidth, false);
  const auto yw = BuildWeights(height, sourceHeight, false);
  size_t r = 0;
  for (size_t j = 0; j < height; ++j) {
    const WeightEntry& wy = yw[j];
    const uint8_t* upper = source.row(r);
    // The lower row is read only when its weight is positive, and then it exists.
    const uint8_t* lower = wy.w1 > 0 ? source.row(r + 1) : upper;
    if (wy.w1 != 0) ++r;
    uint8_t* out = destination.row(j);
    size_t q = 0;
    for (size_t i = 0; i < width; ++i, out += kChannels) {
      const WeightEntry& wx = xw[i];
      const size_t left = q * kChannels;
      const size_t right = wx.w1 > 0 ? left + kChannels : left;
      if (wx.w1 != 0) ++q;
      for (int channel = 0; channel < kChannels; ++channel) {
        uint32_t sum = upper[left + channel] * Product(wy.w0, wx.w0);
        if (wx.w1 > 0) sum += upper[right + channel] * Product(wy.w0, wx.w1);
        if (wy.w1 > 0) {
          sum += lower[left + channel] * Product(wy.w1, wx.w0);
          if (wx.w1 > 0) sum += lower[right + channel] * Product(wy.w1, wx.w1);
        }
        out[channel] = static_cast<uint8_t>(sum >> 24);
      }
    }
  }
}

RowBuffer ReadRows(const toolkit::Image& image) {
  RowBuffer rows(static_cast<uint16_t>(image.width()), static_cast<uint16_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    uint8_t* out = rows.row(static_cast<size_t>(y));
    for (int x = 0; x < image.width(); ++x, out += kChannels) {
      const uint32_t argb = image.pixel(x, y);
      out[0] = toolkit::Image::blue(argb);
      out[1] = toolkit::Image::green(argb);
      out[2] = toolkit::Image::red(argb);
    }
  }
  return rows;
}

toolkit::Image WriteRows(const RowBuffer& rows) {
  toolkit::Image image(rows.info.width, rows.info.height);
  for (int y = 0; y < image.height(); ++y) {
    const uint8_t* in = rows.row(static_cast<size_t>(y));
    for (int x = 0; x < image.width(); ++x, in += kChannels)
      image.setPixel(x, y, toolkit::Image::opaque(in[2], in[1], in[0]));
  }
  return image;
}

toolkit::ImageHandle ScaleBitmap(const toolkit::Image& image, uint16_t width, uint16_t height) {
  const int sourceWidth = image.width();
  const int sourceHeight = image.height();
  if ((sourceWidth > width && sourceHeight < height) || (sourceWidth < width && sourceHeight > height)) return nullptr;
  if (width == 0 || height == 0 || image.empty()) return nullptr;
  const RowBuffer source = ReadRows(image);
  RowBuffer destination(width, height);
  const auto w = static_cast<uint16_t>(sourceWidth);
  const auto h = static_cast<uint16_t>(sourceHeight);
  if (width > sourceWidth || height > sourceHeight) {
    Enlarge(source, w, h, destination, width, height);
  } else {
    Shrink(source, w, h, destination, width, height);
  }
  return std::make_shared<const toolkit::Image>(WriteRows(destination));
}

}  // namespace widgets
