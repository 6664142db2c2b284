#include "toolkit/Image.h"

namespace toolkit {

Image::Image(int width, int height)
    : width_(width > 0 ? width : 0),
      height_(height > 0 ? height : 0),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u) {}

Image Image::deferred(int width, int height, std::span<const uint8_t> encoded, Decoder decoder) {
  Image image;
  image.width_ = width > 0 ? width : 0;
  image.height_ = height > 0 ? height : 0;
  image.encoded_ = encoded;
  image.decoder_ = decoder;
  return image;
}

void Image::decode() const {
  std::optional<Image> decoded = decoder_(encoded_);
  decoder_ = nullptr;
  if (decoded && decoded->width_ == width_ && decoded->height_ == height_) {
    pixels_ = std::move(decoded->pixels_);
  } else {
    pixels_.assign(static_cast<size_t>(width_) * static_cast<size_t>(height_), 0u);
  }
}

}  // namespace toolkit
