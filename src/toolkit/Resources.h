// The built-in bitmaps by resource number. The plug-in installs its source once at load; a
// bitmap whose number is not found has no pixels.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/Image.h"

namespace toolkit {

// Encoded (PNG) bytes of a resource, empty when there is no such number. The bytes stay valid
// for the life of the process: images are decoded from them when first drawn.
using ResourceSource = std::span<const uint8_t> (*)(int32_t resourceId);

void SetResourceSource(ResourceSource source);

// The decoded image, shared by every bitmap made from that number; null when missing or broken.
ImageHandle LoadResourceImage(int32_t resourceId);

}  // namespace toolkit
