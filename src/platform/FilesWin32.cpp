#include "platform/Files.h"

#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>

// <windows.h> names its own ReplaceFile (as a macro for ReplaceFileA); ours is meant here.
#undef ReplaceFile

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

bool PathExists(const std::string& path) {
  return !PathIsTooLong(path) && ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<uint64_t> ReadableFileSize(const std::string& path) {
  if (PathIsTooLong(path)) return std::nullopt;
  // Opened with no access asked (so a pipe or a device does not wait), then read access proven
  // by a second open of a plain disk file only.
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) != 0) {
    return std::nullopt;
  }
  const HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  const bool onDisk = ::GetFileType(file) == FILE_TYPE_DISK;
  ::CloseHandle(file);
  if (!onDisk) return std::nullopt;
  return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

bool DirectoryExists(const std::string& path) {
  if (PathIsTooLong(path)) return false;
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

int CreateUniqueFile(const std::string& prefix, std::string& path) {
  // Endings from the process, the time and a counter; creating the file exclusively is what
  // claims a name, so a taken one only means the next try.
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char ending[32];
    std::snprintf(ending, sizeof ending, "%lx%lx%x", ::GetCurrentProcessId(), ::GetTickCount(), counter++);
    const std::string candidate = prefix + ending;
    if (PathIsTooLong(candidate)) {
      errno = ENAMETOOLONG;
      return -1;
    }
    const int descriptor = ::_open(candidate.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (descriptor >= 0) {
      path = candidate;
      return descriptor;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

bool WriteToFile(int descriptor, const char* data, size_t size) {
  size_t written = 0;
  while (written < size) {
    const unsigned piece = static_cast<unsigned>(std::min<size_t>(size - written, INT_MAX));
    const int count = ::_write(descriptor, data + written, piece);
    if (count < 0) return false;
    written += static_cast<size_t>(count);
  }
  return true;
}

bool WriteAtStart(int descriptor, const char* data, size_t size) {
  const int64_t position = ::_lseeki64(descriptor, 0, SEEK_CUR);
  if (position < 0 || ::_lseeki64(descriptor, 0, SEEK_SET) != 0) return false;
  const bool written = WriteToFile(descriptor, data, size);
  const int writeError = errno;
  const bool restored = ::_lseeki64(descriptor, position, SEEK_SET) == position;
  if (!written) errno = writeError;
  return written && restored;
}

bool SyncAndCloseFile(int descriptor) {
  const bool synced = ::_commit(descriptor) == 0;
  const int syncError = errno;
  const bool closed = ::_close(descriptor) == 0;
  if (!synced) errno = syncError;
  return synced && closed;
}

void CloseFile(int descriptor) { ::_close(descriptor); }

bool ReplaceFile(const std::string& from, const std::string& to) {
  if (::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
  switch (::GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      errno = ENOENT;
      break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
      errno = EACCES;
      break;
    default:
      errno = EIO;
      break;
  }
  return false;
}

bool CreateFolder(const std::string& path) { return ::_mkdir(path.c_str()) == 0; }

std::string FileNameTimeStamp() {
  SYSTEMTIME local{};
  ::GetLocalTime(&local);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u-%02u-%02u", local.wYear, local.wMonth, local.wDay,
                local.wHour, local.wMinute, local.wSecond);
  return stamp;
}

}  // namespace platform
