#include "platform/Files.h"

#include <cstdio>
#include <cstring>
#include <memory>

// Reading and writing whole text files through the C library, alike on every platform.
namespace platform {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

std::string ReadTextFile(const std::string& path) {
  File file(std::fopen(path.c_str(), "rb"));
  if (!file) return {};
  std::string text;
  char piece[2048];
  // Line by line (or 2047 bytes at a time); each piece counts up to its first NUL byte.
  while (std::fgets(piece, sizeof piece, file.get()) != nullptr) {
    size_t length = std::strlen(piece);
    if (length >= 2 && piece[length - 2] == '\r' && piece[length - 1] == '\n') {
      piece[length - 2] = '\n';
      --length;
    } else if (length >= 1 && piece[0] == '\n' && !text.empty() && text.back() == '\r') {
      text.pop_back();
    }
    text.append(piece, length);
  }
  return text;
}

bool WriteTextFile(const std::string& path, const std::string& content) {
  File file(std::fopen(path.c_str(), "wb"));
  if (!file) return false;
  const bool written = std::fwrite(content.data(), 1, content.size(), file.get()) == content.size();
  return std::fflush(file.get()) == 0 && written;
}

}  // namespace platform
