#include "InputFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "Failure.h"
#include "platform/Files.h"

namespace render {

std::string ReadInputFile(const std::string& path, const std::string& description) {
  const auto unreadable = [&](const std::string& reason) {
    throw Failure(ExitCode::InputUnreadable, "Cannot read the " + description + " " + path + ": " + reason);
  };
  const auto tooLarge = [&] {
    unreadable("it holds more than " + std::to_string(kLargestInputFileBytes >> 20) + " MB, the most read from a " +
               description);
  };
  // Told by the path's status alone: opening a pipe or a device could block or never end.
  const std::optional<uint64_t> size = platform::ReadableFileSize(path);
  std::error_code error;
  if (!size && std::filesystem::exists(path, error) && !std::filesystem::is_regular_file(path, error)) {
    unreadable("it is not a regular file");
  }
  if (size && *size > kLargestInputFileBytes) tooLarge();
  std::ifstream in(path, std::ios::binary);
  if (!in) unreadable(std::strerror(errno));
  // The file may grow while it is read: at most one byte beyond the limit is read.
  std::string bytes;
  bytes.reserve(static_cast<size_t>(size.value_or(0)));
  char piece[65536];
  while (in && bytes.size() <= kLargestInputFileBytes) {
    in.read(piece, sizeof piece);
    bytes.append(piece, static_cast<size_t>(in.gcount()));
  }
  if (in.bad()) unreadable(std::strerror(errno));
  if (bytes.size() > kLargestInputFileBytes) tooLarge();
  return bytes;
}

}  // namespace render
