// Reading images from files and from encoded bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "toolkit/Image.h"

namespace toolkit {

// PNG bytes, as the built-in resources hold them. Nothing when they do not decode.
std::optional<Image> DecodePng(std::span<const uint8_t> bytes);

struct ImageSize {
  int width;
  int height;
};
// The size a PNG's header gives (no pixels decoded); nothing without a plausible header.
std::optional<ImageSize> PngSize(std::span<const uint8_t> bytes);

// Windows bitmap bytes: uncompressed 24 or 32 bits per pixel (BI_RGB, or BI_BITFIELDS with the
// usual masks), rows bottom-up or top-down. Nothing for any other kind or a damaged file.
std::optional<Image> DecodeBmp(std::span<const uint8_t> bytes);

// A skin file: BMP, or PNG recognised by its signature. Nothing when it cannot be read or decoded.
std::optional<Image> LoadImageFile(const std::string& path);

}  // namespace toolkit
