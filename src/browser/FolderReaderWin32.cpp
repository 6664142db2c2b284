#include <windows.h>

#include <cstring>

#include "browser/EntryCode.h"
#include "browser/FolderReader.h"

namespace browser {
namespace {

bool IsSelfOrParent(const char* name) { return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0; }

}  // namespace

std::vector<std::string> ReadDriveRoots() {
  // The drive letters in use, each as "C:\", in the order the system gives them.
  char buffer[27 * 4 + 1] = {};
  const DWORD length = ::GetLogicalDriveStringsA(sizeof buffer - 1, buffer);
  std::vector<std::string> roots;
  if (length == 0 || length >= sizeof buffer) return roots;
  for (const char* drive = buffer; *drive != '\0'; drive += std::strlen(drive) + 1) roots.emplace_back(drive);
  return roots;
}

bool ReadFolderEntries(const std::string& folder, std::vector<std::string>& codes) {
  const std::string pattern = folder + '*';
  // The ANSI calls take paths up to MAX_PATH; a longer folder cannot be listed.
  if (pattern.size() >= MAX_PATH) return false;
  WIN32_FIND_DATAA item{};
  const HANDLE search = ::FindFirstFileA(pattern.c_str(), &item);
  if (search == INVALID_HANDLE_VALUE) return ::GetLastError() == ERROR_FILE_NOT_FOUND;
  do {
    if (IsSelfOrParent(item.cFileName)) continue;
    if (item.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      codes.push_back(MakeEntryCode(kDirectoryPrefix, item.cFileName));
    } else if ((item.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE)) == 0) {
      // Hidden and system files are this platform's hidden items; they are not offered.
      codes.push_back(MakeEntryCode(kFilePrefix, item.cFileName));
    }
  } while (::FindNextFileA(search, &item));
  ::FindClose(search);
  return true;
}

}  // namespace browser
