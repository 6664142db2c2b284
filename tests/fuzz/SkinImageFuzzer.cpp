// Skin image bytes from anywhere, decoded as a skin file is: within a limit (smaller than a
// skin's, so that each input decodes quickly), a BMP or PNG decodes or is refused, never read
// out of bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "toolkit/ImageFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr toolkit::ImageLimit limit{128, 128, 128 * 128};
  const std::optional<toolkit::Image> image = toolkit::DecodeImage(std::span<const uint8_t>(data, size), limit);
  if (image && (image->width() > limit.width || image->height() > limit.height)) std::abort();
  return 0;
}
