#include "platform/Folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <memory>

#include "platform/Files.h"
#include "platform/Paths.h"

namespace platform {
namespace {

struct DirectoryCloser {
  void operator()(DIR* directory) const { ::closedir(directory); }
};
using DirectoryHandle = std::unique_ptr<DIR, DirectoryCloser>;

enum class ItemKind { kDirectory, kFile, kOther };

// The kind of the item behind a link is what counts; the directory's own type hint saves a
// stat call for ordinary items, which matters for folders of many thousand files.
ItemKind KindOf(int folderDescriptor, const dirent& item) {
  switch (item.d_type) {
    case DT_DIR:
      return ItemKind::kDirectory;
    case DT_REG:
      return ItemKind::kFile;
    case DT_LNK:
    case DT_UNKNOWN:
      break;
    default:
      return ItemKind::kOther;
  }
  struct stat status {};
  if (::fstatat(folderDescriptor, item.d_name, &status, 0) != 0) return ItemKind::kOther;
  if (S_ISDIR(status.st_mode)) return ItemKind::kDirectory;
  return S_ISREG(status.st_mode) ? ItemKind::kFile : ItemKind::kOther;
}

bool IsSelfOrParent(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

bool ListFolder(const std::string& folder, const std::function<void(const FolderItem&)>& visit) {
  const DirectoryHandle directory(::opendir(folder.c_str()));
  if (!directory) return false;
  const int descriptor = ::dirfd(directory.get());
  while (const dirent* item = ::readdir(directory.get())) {
    if (IsSelfOrParent(item->d_name)) continue;
    const ItemKind kind = KindOf(descriptor, *item);
    // A leading full stop is this system's hidden mark.
    if (kind != ItemKind::kOther) visit({item->d_name, kind == ItemKind::kDirectory, item->d_name[0] == '.'});
  }
  return true;
}

std::vector<std::string> TopLevelFolders() {
  const std::string root(1, kPathSeparator);
  std::vector<std::string> folders;
  if (DirectoryExists(root)) folders.push_back(root);
  const std::string home = HomeFolder();
  if (!home.empty() && home != root && DirectoryExists(home)) folders.push_back(home);
  return folders;
}

std::string TopLevelName() { return std::string(1, kPathSeparator); }

}  // namespace platform
