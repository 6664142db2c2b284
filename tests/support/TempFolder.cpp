#include "TempFolder.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/Paths.h"

namespace testhost {

std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TempFolder::TempFolder() {
  // A random name that no other folder has yet: creating it is what claims it.
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("kh-test-" + std::to_string(random()));
    if (std::filesystem::create_directory(folder)) {
      path_ = folder.string() + platform::kPathSeparator;
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // A folder a test made unreadable must become readable again to be removed.
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(path_, ignored);
}

void TempFolder::write(const std::string& relative, std::string_view bytes) const {
  const std::filesystem::path target = file(relative);
  std::filesystem::create_directories(target.parent_path());
  std::ofstream(target, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempFolder::addFile(const std::string& relative) const {
  write(relative, "x");
  return file(relative);
}

std::string TempFolder::addFolder(const std::string& relative) const {
  std::filesystem::create_directories(file(relative));
  return file(relative) + platform::kPathSeparator;
}

}  // namespace testhost
