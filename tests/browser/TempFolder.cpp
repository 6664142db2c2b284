#include "TempFolder.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace browsertest {

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kh-browser-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a temporary folder");
  root_ = pattern;
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  // Folders a test made unreadable must become readable again to be removed.
  std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
  std::filesystem::remove_all(root_, ignored);
}

std::string TempFolder::addFile(const std::string& relative) const {
  const std::filesystem::path file = root_ / relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream(file).put('x');
  return file.string();
}

std::string TempFolder::addFolder(const std::string& relative) const {
  std::filesystem::create_directories(root_ / relative);
  return (root_ / relative).string() + '/';
}

}  // namespace browsertest
