#include "PendingFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "Failure.h"

namespace render {
namespace {

[[noreturn]] void unwritable(const std::string& path, int error) {
  throw Failure(ExitCode::OutputUnwritable, "Cannot write " + path + ": " + std::strerror(error));
}

// Permissions of a newly created file: everything that the user's umask allows.
mode_t newFilePermissions() {
  const mode_t mask = umask(0);
  umask(mask);
  return static_cast<mode_t>(0666 & ~mask);
}

}  // namespace

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
  std::vector<char> pattern(target_.begin(), target_.end());
  const std::string suffix = ".partial-XXXXXX";
  pattern.insert(pattern.end(), suffix.begin(), suffix.end());
  pattern.push_back('\0');
  descriptor_ = mkstemp(pattern.data());
  if (descriptor_ < 0) unwritable(target_, errno);
  temporaryPath_ = pattern.data();
  fchmod(descriptor_, newFilePermissions());
}

PendingFile::~PendingFile() {
  if (descriptor_ >= 0) close(descriptor_);
  if (!committed_) std::remove(temporaryPath_.c_str());
}

void PendingFile::commit() {
  // On disk before it takes the target's name, so a crash never leaves a short file there.
  const bool synced = fsync(descriptor_) == 0;
  const int syncError = errno;
  const bool closed = close(descriptor_) == 0;
  descriptor_ = -1;
  if (!synced || !closed) unwritable(target_, synced ? errno : syncError);
  if (std::rename(temporaryPath_.c_str(), target_.c_str()) != 0) unwritable(target_, errno);
  committed_ = true;
}

void PendingFile::append(const void* bytes, size_t size) {
  size_t written = 0;
  while (written < size) {
    const ssize_t count = write(descriptor_, static_cast<const char*>(bytes) + written, size - written);
    if (count < 0) {
      if (errno == EINTR) continue;
      unwritable(target_, errno);
    }
    written += static_cast<size_t>(count);
  }
}

void PendingFile::overwriteStart(const void* bytes, size_t size) {
  const off_t end = lseek(descriptor_, 0, SEEK_CUR);
  if (end < 0 || lseek(descriptor_, 0, SEEK_SET) != 0) unwritable(target_, errno);
  append(bytes, size);
  if (lseek(descriptor_, end, SEEK_SET) != end) unwritable(target_, errno);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  PendingFile file(path);
  file.append(bytes.data(), bytes.size());
  file.commit();
}

}  // namespace render
