#include "PendingFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <utility>

#include "Failure.h"
#include "platform/Files.h"

namespace render {
namespace {

[[noreturn]] void Unwritable(const std::string& path, int error) {
  throw Failure(ExitCode::OutputUnwritable, "Cannot write " + path + ": " + std::strerror(error));
}

}  // namespace

PendingFile::PendingFile(std::string target) : target_(std::move(target)) {
  descriptor_ = platform::CreateUniqueFile(target_ + ".partial-", temporaryPath_);
  if (descriptor_ < 0) Unwritable(target_, errno);
}

PendingFile::~PendingFile() {
  if (descriptor_ >= 0) platform::CloseFile(descriptor_);
  if (!committed_) std::remove(temporaryPath_.c_str());
}

void PendingFile::commit() {
  // On disk before it takes the target's name, so a crash never leaves a short file there.
  const bool closed = platform::SyncAndCloseFile(descriptor_);
  descriptor_ = -1;
  if (!closed) Unwritable(target_, errno);
  if (!platform::ReplaceFile(temporaryPath_, target_)) Unwritable(target_, errno);
  committed_ = true;
}

void PendingFile::append(const void* bytes, size_t size) {
  if (!platform::WriteToFile(descriptor_, static_cast<const char*>(bytes), size)) Unwritable(target_, errno);
}

void PendingFile::overwriteStart(const void* bytes, size_t size) {
  if (!platform::WriteAtStart(descriptor_, static_cast<const char*>(bytes), size)) Unwritable(target_, errno);
}

void WriteWholeFile(const std::string& path, const std::string& bytes) {
  if (!platform::WriteWholeFile(path, bytes)) Unwritable(path, errno);
}

}  // namespace render
