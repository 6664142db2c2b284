#include "platform/Files.h"

#include <windows.h>

namespace platform {

// The ANSI file calls take paths shorter than MAX_PATH.
bool PathIsTooLong(const std::string& path) { return path.size() >= MAX_PATH; }

bool FileExists(const std::string& path) {
  if (PathIsTooLong(path)) return false;
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

bool DirectoryExists(const std::string& path) {
  if (PathIsTooLong(path)) return false;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace platform
