// Our own image type: the pixels of every bitmap, 32 bits per pixel in the native-endian
// premultiplied ARGB layout that Cairo draws from directly.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace toolkit {

class Image {
 public:
  Image() = default;
  // All pixels transparent black.
  Image(int width, int height);

  // Encoded bytes to an image; nothing when they do not decode.
  using Decoder = std::optional<Image> (*)(std::span<const uint8_t> bytes);
  // An image whose size is known from the encoded bytes' header and whose pixels are decoded
  // when first asked for, so images that are never shown cost nothing. The bytes must outlive
  // the image (built-in resources); bytes that turn out not to decode give transparent black.
  // Images are used on the user-interface thread only, which makes the late decoding safe.
  static Image deferred(int width, int height, std::span<const uint8_t> encoded, Decoder decoder);

  int width() const { return width_; }
  int height() const { return height_; }
  bool empty() const { return width_ <= 0 || height_ <= 0; }
  // Bytes from one row to the next.
  int stride() const { return width_ * 4; }

  uint32_t pixel(int x, int y) const {
    decodeIfDeferred();
    return pixels_[index(x, y)];
  }
  void setPixel(int x, int y, uint32_t argb) {
    decodeIfDeferred();
    pixels_[index(x, y)] = argb;
  }
  uint32_t* data() {
    decodeIfDeferred();
    return pixels_.data();
  }
  const uint32_t* data() const {
    decodeIfDeferred();
    return pixels_.data();
  }

  static constexpr uint32_t opaque(uint8_t red, uint8_t green, uint8_t blue) {
    return 0xFF000000u | (uint32_t{red} << 16) | (uint32_t{green} << 8) | blue;
  }
  static constexpr uint8_t red(uint32_t argb) { return static_cast<uint8_t>(argb >> 16); }
  static constexpr uint8_t green(uint32_t argb) { return static_cast<uint8_t>(argb >> 8); }
  static constexpr uint8_t blue(uint32_t argb) { return static_cast<uint8_t>(argb); }
  static constexpr uint8_t alpha(uint32_t argb) { return static_cast<uint8_t>(argb >> 24); }

 private:
  void decodeIfDeferred() const {
    if (decoder_ != nullptr) decode();
  }
  void decode() const;
  size_t index(int x, int y) const {
    return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  mutable std::vector<uint32_t> pixels_;
  std::span<const uint8_t> encoded_;
  mutable Decoder decoder_ = nullptr;  // set while the pixels wait to be decoded
};

// Images are shared between bitmaps and never changed once handed out.
using ImageHandle = std::shared_ptr<const Image>;

}  // namespace toolkit
