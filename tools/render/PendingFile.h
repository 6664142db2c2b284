// A file written under a temporary name beside its target and renamed onto the target only
// when complete, so that no half-written output is ever left behind: an unfinished file is
// removed when its PendingFile goes away.
#pragma once

#include <string>

namespace render {

class PendingFile {
 public:
  // Creates the temporary file; throws Failure(OutputUnwritable) when the folder refuses it.
  explicit PendingFile(std::string target);
  ~PendingFile();
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  int descriptor() const { return descriptor_; }
  const std::string& target() const { return target_; }
  // Writes the bytes at the end, or over the file's start; throw Failure(OutputUnwritable).
  void append(const void* bytes, size_t size);
  void overwriteStart(const void* bytes, size_t size);
  // Flushes, closes and renames onto the target; throws Failure(OutputUnwritable).
  void commit();

 private:
  std::string target_;
  std::string temporaryPath_;
  int descriptor_ = -1;
  bool committed_ = false;
};

// Writes the bytes to the file, as safely as a PendingFile (platform::WriteWholeFile); throws
// Failure(OutputUnwritable).
void WriteWholeFile(const std::string& path, const std::string& bytes);

}  // namespace render
