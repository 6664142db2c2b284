#include "browser/Browser.h"

#include <algorithm>
#include <iterator>

#include "browser/EntryCode.h"
#include "browser/FolderReader.h"
#include "platform/Folders.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "samples/FileExtension.h"

namespace browser {

Browser::Browser() : directory_(kTopLevel) {}

void Browser::setFilter(const std::string& extensions) {
  filter_.clear();
  size_t start = 0;
  for (;;) {
    const size_t end = extensions.find(';', start);
    filter_.push_back(extensions.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
}

void Browser::setPath(const std::string& path) {
  const size_t cut = path.find_last_of(platform::kPathSeparator);
  if (cut == std::string::npos) {
    directory_ = kTopLevel;
    selectedFile_.clear();
    return;
  }
  directory_ = path.substr(0, cut + 1);
  selectedFile_ = path.substr(cut + 1);
}

std::vector<std::string> Browser::listDrives() const {
  std::vector<std::string> codes;
  for (const std::string& root : platform::TopLevelFolders()) codes.push_back(MakeEntryCode(kDrivePrefix, root));
  return codes;
}

std::vector<std::string> Browser::listDirectory() const {
  std::vector<std::string> codes;
  if (!ReadFolderEntries(directory_, codes)) {
    platform::ShowMessage(directory_, "Unable to locate the directory " + directory_ + "\n");
  }
  return codes;
}

std::vector<std::string> Browser::getEntries() const {
  std::vector<std::string> codes = atTopLevel() ? listDrives() : listDirectory();
  std::erase_if(codes, [this](const std::string& code) { return IsFileEntry(code) && !accepts(code); });
  // std::string compares its bytes as unsigned characters, a prefix first: directories ("di|")
  // come before files ("fi|"), and upper-case names before lower-case ones.
  std::ranges::sort(codes);
  return codes;
}

bool Browser::accepts(std::string_view fileCode) const {
  const std::string extension = samples::UpperCaseExtension(std::string(fileCode));
  return !extension.empty() && std::ranges::find(filter_, extension) != filter_.end();
}

void Browser::enterDirectory(const std::string& name) {
  selectedFile_.clear();
  if (atTopLevel()) directory_.clear();
  directory_ += name;
  if (directory_.empty() || directory_.back() != platform::kPathSeparator) directory_ += platform::kPathSeparator;
  refreshEntries();
}

void Browser::goUp() {
  selectedFile_.clear();
  if (atTopLevel()) return;
  // "/a/b/" loses its trailing separator, then everything after the one before it.
  const size_t last = directory_.find_last_of(platform::kPathSeparator);
  directory_.erase(last == std::string::npos ? 0 : last);
  const size_t parent = directory_.find_last_of(platform::kPathSeparator);
  if (parent == std::string::npos) {
    directory_ = kTopLevel;
  } else {
    directory_.erase(parent + 1);
  }
  refreshEntries();
}

namespace {

// The first file entry of that name.
auto FindFile(const std::vector<std::string>& codes, const std::string& name) {
  return std::ranges::find_if(codes,
                              [&](const std::string& code) { return IsFileEntry(code) && EntryName(code) == name; });
}

}  // namespace

std::string Browser::selectNext() {
  if (selectedFile_.empty()) return {};
  refreshEntries();
  const auto selected = FindFile(entries_, selectedFile_);
  if (selected != entries_.end()) {
    const auto next = std::next(selected);
    if (next != entries_.end() && IsFileEntry(*next)) selectedFile_ = EntryName(*next);
  }
  return directory_ + selectedFile_;
}

std::string Browser::selectPrevious() {
  if (selectedFile_.empty()) return {};
  refreshEntries();
  const auto selected = FindFile(entries_, selectedFile_);
  if (selected != entries_.end()) {
    const auto before = std::find_if(std::make_reverse_iterator(selected), entries_.crend(),
                                     [](const std::string& code) { return IsFileEntry(code); });
    if (before != entries_.crend()) selectedFile_ = EntryName(*before);
  }
  return directory_ + selectedFile_;
}

}  // namespace browser
