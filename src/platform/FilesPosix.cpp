#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace platform {

bool PathIsTooLong(const std::string& path) { return path.size() >= PATH_MAX; }

bool FileExists(const std::string& path) {
  // Without waiting: a pipe opened for reading would block until a writer came.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return false;
  ::close(descriptor);
  return true;
}

bool PathExists(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0;
}

std::optional<uint64_t> ReadableFileSize(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode) || ::access(path.c_str(), R_OK) != 0) {
    return std::nullopt;
  }
  return static_cast<uint64_t>(status.st_size);
}

bool DirectoryExists(const std::string& path) {
  struct stat status {};
  // Entering a folder needs search permission; the process's current folder is left alone.
  return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int CreateUniqueFile(const std::string& prefix, std::string& path) {
  std::vector<char> pattern(prefix.begin(), prefix.end());
  const std::string ending = "XXXXXX";
  pattern.insert(pattern.end(), ending.begin(), ending.end());
  pattern.push_back('\0');
  const int descriptor = ::mkstemp(pattern.data());
  if (descriptor < 0) return -1;
  path = pattern.data();
  // mkstemp keeps the file to its owner; a finished file gets what the umask allows.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(descriptor, static_cast<mode_t>(0666 & ~mask));
  return descriptor;
}

bool WriteToFile(int descriptor, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    const ssize_t count = ::write(descriptor, data + written, size - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<size_t>(count);
  }
  return true;
}

bool WriteAtStart(int descriptor, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    const ssize_t count = ::pwrite(descriptor, data + written, size - written, static_cast<off_t>(written));
    if (count < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    written += static_cast<size_t>(count);
  }
  return true;
}

bool SyncAndCloseFile(int descriptor) {
  const bool synced = ::fsync(descriptor) == 0;
  const int syncError = errno;
  const bool closed = ::close(descriptor) == 0;
  if (!synced) errno = syncError;
  return synced && closed;
}

void CloseFile(int descriptor) { ::close(descriptor); }

bool ReplaceFile(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

bool CreateFolder(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0; }

std::string FileNameTimeStamp() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  char stamp[32] = {};
  if (::localtime_r(&now, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H-%M-%S", &local);
  return stamp;
}

}  // namespace platform
