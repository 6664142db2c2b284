#include "platform/Files.h"

#include <windows.h>

namespace platform {

bool FileExists(const std::string& path) {
  // The ANSI calls take paths up to MAX_PATH; a longer one is refused, never cut short.
  if (path.size() >= MAX_PATH) return false;
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  return true;
}

bool DirectoryExists(const std::string& path) {
  if (path.size() >= MAX_PATH) return false;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace platform
