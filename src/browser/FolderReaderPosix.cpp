#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "browser/EntryCode.h"
#include "browser/FolderReader.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace browser {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == platform::kPathSeparator) return home;
  // No usable HOME (some hosts start plug-ins with a scrubbed environment): ask the user database.
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : std::string{};
}

std::string WithTrailingSeparator(std::string folder) {
  if (folder.empty() || folder.back() != platform::kPathSeparator) folder += platform::kPathSeparator;
  return folder;
}

enum class ItemKind { kDirectory, kFile, kOther };

// The kind of the item behind a link is what counts; the directory's own type hint saves a
// stat call for ordinary items, which matters for folders of many thousand files.
ItemKind KindOf(int folderDescriptor, const dirent& item) {
  switch (item.d_type) {
    case DT_DIR: return ItemKind::kDirectory;
    case DT_REG: return ItemKind::kFile;
    case DT_LNK:
    case DT_UNKNOWN: break;
    default: return ItemKind::kOther;
  }
  struct stat status {};
  if (::fstatat(folderDescriptor, item.d_name, &status, 0) != 0) return ItemKind::kOther;
  if (S_ISDIR(status.st_mode)) return ItemKind::kDirectory;
  return S_ISREG(status.st_mode) ? ItemKind::kFile : ItemKind::kOther;
}

bool IsSelfOrParent(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

std::vector<std::string> ReadDriveRoots() {
  const std::string root(1, platform::kPathSeparator);
  std::vector<std::string> roots;
  if (platform::DirectoryExists(root)) roots.push_back(root);
  const std::string home = HomeFolder();
  if (!home.empty() && platform::DirectoryExists(home)) {
    std::string folder = WithTrailingSeparator(home);
    if (folder != root) roots.push_back(std::move(folder));
  }
  return roots;
}

bool ReadFolderEntries(const std::string& folder, std::vector<std::string>& codes) {
  const DirectoryHandle directory(::opendir(folder.c_str()));
  if (!directory) return false;
  const int descriptor = ::dirfd(directory.get());
  while (const dirent* item = ::readdir(directory.get())) {
    if (IsSelfOrParent(item->d_name)) continue;
    switch (KindOf(descriptor, *item)) {
      case ItemKind::kDirectory: codes.push_back(MakeEntryCode(kDirectoryPrefix, item->d_name)); break;
      case ItemKind::kFile:
        // A leading full stop is this platform's hidden mark; such files are not offered.
        if (item->d_name[0] != '.') codes.push_back(MakeEntryCode(kFilePrefix, item->d_name));
        break;
      case ItemKind::kOther: break;
    }
  }
  return true;
}

}  // namespace browser
