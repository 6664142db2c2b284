#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>

namespace platform {

bool PathIsTooLong(const std::string& path) { return path.size() >= PATH_MAX; }

bool FileExists(const std::string& path) {
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  ::close(descriptor);
  return true;
}

bool DirectoryExists(const std::string& path) {
  struct stat status {};
  // Entering a folder needs search permission; the process's current folder is left alone.
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

}  // namespace platform
