#include "BmpFile.h"

#include <fstream>

namespace testhost {
namespace {

void PutLittleEndian(std::string& bytes, uint32_t value, int size) {
  for (int index = 0; index < size; ++index) bytes.push_back(static_cast<char>(value >> (8 * index)));
}

}  // namespace

std::string BmpBytes(int width, int height, Rgb colour) {
  // Rows are padded to whole 4-byte words.
  const uint32_t rowSize = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = rowSize * static_cast<uint32_t>(height);
  constexpr uint32_t kHeaderSize = 14 + 40;
  constexpr uint32_t kPixelsPerMetre = 2835;  // 72 dots per inch
  std::string bytes = "BM";
  PutLittleEndian(bytes, kHeaderSize + imageSize, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, kHeaderSize, 4);
  PutLittleEndian(bytes, 40, 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(width), 4);
  PutLittleEndian(bytes, static_cast<uint32_t>(height), 4);
  PutLittleEndian(bytes, 1, 2);   // planes
  PutLittleEndian(bytes, 24, 2);  // bits per pixel
  PutLittleEndian(bytes, 0, 4);   // no compression
  PutLittleEndian(bytes, imageSize, 4);
  PutLittleEndian(bytes, kPixelsPerMetre, 4);
  PutLittleEndian(bytes, kPixelsPerMetre, 4);
  PutLittleEndian(bytes, 0, 4);
  PutLittleEndian(bytes, 0, 4);
  std::string row(rowSize, '\0');
  for (int x = 0; x < width; ++x) {
    const size_t at = static_cast<size_t>(x) * 3;
    row[at] = static_cast<char>(colour.blue);
    row[at + 1] = static_cast<char>(colour.green);
    row[at + 2] = static_cast<char>(colour.red);
  }
  for (int y = 0; y < height; ++y) bytes += row;
  return bytes;
}

void WriteBmp(const std::string& path, int width, int height, Rgb colour) {
  const std::string bytes = BmpBytes(width, height, colour);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testhost
