#include "SkinFiles.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace browsertest {
namespace {

void Put(std::vector<uint8_t>& bytes, uint32_t value, int size) {
  for (int index = 0; index < size; ++index) bytes.push_back(static_cast<uint8_t>(value >> (8 * index)));
}

}  // namespace

void WriteBmp(const std::string& path, int width, int height) {
  const uint32_t rowSize = (static_cast<uint32_t>(width) * 3 + 3) & ~3u;
  const uint32_t imageSize = rowSize * static_cast<uint32_t>(height);
  std::vector<uint8_t> bytes{'B', 'M'};
  Put(bytes, 54 + imageSize, 4);
  Put(bytes, 0, 4);
  Put(bytes, 54, 4);
  Put(bytes, 40, 4);
  Put(bytes, static_cast<uint32_t>(width), 4);
  Put(bytes, static_cast<uint32_t>(height), 4);
  Put(bytes, 1, 2);
  Put(bytes, 24, 2);
  Put(bytes, 0, 4);
  Put(bytes, imageSize, 4);
  Put(bytes, 2835, 4);
  Put(bytes, 2835, 4);
  Put(bytes, 0, 4);
  Put(bytes, 0, 4);
  bytes.resize(bytes.size() + imageSize, 0x40);
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<std::streamsize>(bytes.size()));
}

}  // namespace browsertest
