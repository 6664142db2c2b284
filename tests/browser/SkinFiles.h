// Writes small skin bitmaps, so that the browser's own bitmaps have a size in tests.
#pragma once

#include <string>

namespace browsertest {

// An uncompressed 24-bit Windows bitmap of one colour.
void WriteBmp(const std::string& path, int width, int height);

}  // namespace browsertest
