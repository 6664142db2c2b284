#include "InputFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "Failure.h"

namespace render {

std::string ReadInputFile(const std::string& path, const std::string& description) {
  const auto unreadable = [&] {
    throw Failure(ExitCode::InputUnreadable, "Cannot read the " + description + " " + path + ": " + std::strerror(errno));
  };
  std::ifstream in(path, std::ios::binary);
  if (!in) unreadable();
  std::ostringstream bytes;
  bytes << in.rdbuf();
  if (in.bad()) unreadable();
  return bytes.str();
}

}  // namespace render
