// Our own image type: the pixels of every bitmap, 32 bits per pixel in the native-endian
// premultiplied ARGB layout that Cairo draws from directly.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace toolkit {

class Image {
 public:
  Image() = default;
  // All pixels transparent black.
  Image(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  // Bytes from one row to the next.
  int stride() const { return width_ * 4; }

  uint32_t pixel(int x, int y) const { return pixels_[index(x, y)]; }
  void setPixel(int x, int y, uint32_t argb) { pixels_[index(x, y)] = argb; }
  uint32_t* data() { return pixels_.data(); }
  const uint32_t* data() const { return pixels_.data(); }

  static constexpr uint32_t opaque(uint8_t red, uint8_t green, uint8_t blue) {
    return 0xFF000000u | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
  }
  static constexpr uint8_t red(uint32_t argb) { return static_cast<uint8_t>(argb >> 16); }
  static constexpr uint8_t green(uint32_t argb) { return static_cast<uint8_t>(argb >> 8); }
  static constexpr uint8_t blue(uint32_t argb) { return static_cast<uint8_t>(argb); }
  static constexpr uint8_t alpha(uint32_t argb) { return static_cast<uint8_t>(argb >> 24); }

 private:
  size_t index(int x, int y) const { return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x); }

  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> pixels_;
};

// Images are shared between bitmaps and never changed once handed out.
using ImageHandle = std::shared_ptr<const Image>;

}  // namespace toolkit
