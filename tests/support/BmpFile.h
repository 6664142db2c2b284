// Small Windows bitmaps that tests make for themselves: skin images of a chosen size and colour.
#pragma once

#include <cstdint>
#include <string>

namespace testhost {

struct Rgb {
  uint8_t red, green, blue;
};

// An uncompressed, bottom-up 24-bit bitmap of one colour, as the bytes of its file.
std::string BmpBytes(int width, int height, Rgb colour);
// Writes BmpBytes to the path; a mid grey where only the size matters.
void WriteBmp(const std::string& path, int width, int height, Rgb colour = {0x80, 0x80, 0x80});

}  // namespace testhost
