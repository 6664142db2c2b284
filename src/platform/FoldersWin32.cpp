#include "platform/Folders.h"

#include <windows.h>

#include <cstring>

#include "platform/Files.h"

namespace platform {
namespace {

bool IsSelfOrParent(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

bool ListFolder(const std::string& folder, const std::function<void(const FolderItem&)>& visit) {
  const std::string pattern = folder + '*';
  if (PathIsTooLong(pattern)) return false;
  WIN32_FIND_DATAA item{};
  const HANDLE search = ::FindFirstFileA(pattern.c_str(), &item);
  // An empty drive has no entry at all, not even "." and "..".
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (IsSelfOrParent(item.cFileName) || (item.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) != 0) continue;
    // Hidden and system items are this system's hidden ones.
    const bool hidden = (item.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
    visit({item.cFileName, (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0, hidden});
  } while (::FindNextFileA(search, &item));
  ::FindClose(search);
  return true;
}

std::vector<std::string> TopLevelFolders() {
  // The drive letters in use, each as "C:\", in the order the system gives them.
  char drives[26 * 4 + 1] = {};
  const DWORD length = ::GetLogicalDriveStringsA(sizeof drives - 1, drives);
  std::vector<std::string> folders;
  if (length == 0 || length >= sizeof drives) return folders;
  for (const char* drive = drives; *drive != '\0'; drive += std::strlen(drive) + 1) folders.emplace_back(drive);
  return folders;
}

// The name Explorer gives the place that lists the drives.
std::string TopLevelName() { return "Computer"; }

}  // namespace platform
