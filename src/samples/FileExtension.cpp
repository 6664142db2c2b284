#include "samples/FileExtension.h"

namespace samples {

std::string UpperCaseExtension(const std::string& path) {
  const auto stop = path.find_last_of('.');
  if (stop == std::string::npos) return {};
  std::string extension = path.substr(stop + 1);
  // Byte by byte, so that letters of other code pages stay as they are.
  for (char& letter : extension) {
    if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  }
  return extension;
}

}  // namespace samples
