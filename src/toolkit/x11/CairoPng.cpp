// PNG decoding through Cairo's PNG reader.
#include <cairo.h>

#include <cstring>

#include "toolkit/ImageFiles.h"

namespace toolkit {
namespace {

struct ByteReader {
  std::span<const uint8_t> bytes;
  size_t position = 0;
};

cairo_status_t ReadFromSpan(void* closure, unsigned char* data, unsigned int length) {
  auto& reader = *static_cast<ByteReader*>(closure);
  if (reader.bytes.size() - reader.position < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, reader.bytes.data() + reader.position, length);
  reader.position += length;
  return CAIRO_STATUS_SUCCESS;
}

}  // namespace

std::optional<Image> DecodePngPixels(std::span<const uint8_t> bytes) {
  ByteReader reader{bytes};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadFromSpan, &reader);
  std::optional<Image> result;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(surface);
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const auto format = cairo_image_surface_get_format(surface);
    const unsigned char* source = cairo_image_surface_get_data(surface);
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(source + static_cast<ptrdiff_t>(y) * stride);
      for (int x = 0; x < width; ++x) {
        // RGB24 leaves the top byte undefined; such a PNG is opaque.
        image.setPixel(x, y, format == CAIRO_FORMAT_RGB24 ? (row[x] | 0xFF000000u) : row[x]);
      }
    }
    result = std::move(image);
  }
  cairo_surface_destroy(surface);
  return result;
}

}  // namespace toolkit
