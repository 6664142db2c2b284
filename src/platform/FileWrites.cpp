#include <cerrno>
#include <cstdio>

#include "platform/Files.h"
#include "platform/Paths.h"

// Whole files written safely, and the folders they go into, alike on every platform: built on
// the system's own calls of Files<System>.cpp.
namespace platform {

bool WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::string temporary;
  const int descriptor = CreateUniqueFile(path + ".partial-", temporary);
  if (descriptor < 0) return false;
  const bool written = WriteToFile(descriptor, bytes.data(), bytes.size());
  const int writeError = errno;
  if (!written) CloseFile(descriptor);
  // On the disk before it takes the name, so that a crash never leaves a short file there.
  if (written && SyncAndCloseFile(descriptor) && ReplaceFile(temporary, path)) return true;
  const int error = written ? errno : writeError;
  std::remove(temporary.c_str());
  errno = error;
  return false;
}

bool CreateFolders(const std::string& path) {
  // Windows takes '/' as a separator too.
  const char* separators = kPathSeparator == '/' ? "/" : "/\\";
  std::string folder = path;
  while (folder.size() > 1 && folder.find_last_of(separators) == folder.size() - 1) folder.pop_back();
  // From the deepest folder that exists down: a network share's server has no folder of its own.
  if (DirectoryExists(folder)) return true;
  const size_t cut = folder.find_last_of(separators);
  if (cut != std::string::npos && cut > 0 && !CreateFolders(folder.substr(0, cut))) return false;
  if (CreateFolder(folder)) return true;
  // Made meanwhile by another thread or process, or something else of that name.
  const int error = errno;
  if (error == EEXIST && DirectoryExists(folder)) return true;
  errno = error;
  return false;
}

}  // namespace platform
