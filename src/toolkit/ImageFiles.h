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

// The largest image a file may hold: pixels each way and in all; checked before anything is
// decoded.
struct ImageLimit {
  int64_t width = 0;
  int64_t height = 0;
  int64_t pixels = 0;
};

// A skin file stands in for a built-in image of the editor: each way it may be four times the
// larger of that image and the editor, and in all sixteen times the editor's pixels. That
// keeps the editor's rectangle within what a host can hold and a skin's memory bounded.
ImageLimit SkinFileLimit(double builtInWidth, double builtInHeight);

// BMP bytes, or PNG recognised by its signature. Nothing when they do not decode or their
// header gives a larger image than the limit.
std::optional<Image> DecodeImage(std::span<const uint8_t> bytes, ImageLimit limit);

// A skin file, as DecodeImage reads it. Nothing when it is not a regular file this process
// may read (a pipe is never opened), is larger than an image within the limit could need,
// or does not decode.
std::optional<Image> LoadImageFile(const std::string& path, ImageLimit limit);

}  // namespace toolkit
