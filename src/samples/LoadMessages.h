// What the user is told when a sample file cannot be loaded.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace samples {

constexpr const char* kSampleLoadErrorCaption = "Sample load error";
constexpr const char* kSampleWarningCaption = "Warning";

// The text for a file that could not be opened: whether it is missing, a WAV file the
// library refuses, or any other file it cannot read.
std::string OpenFailureText(const std::string& path);
// The text for a file that exists but cannot be read.
std::string UnreadableFileText(const std::string& path);

// The text for a file whose path the project text could not store (see IsStorablePath).
std::string UnstorablePathText(const std::string& path);
// The text for a file whose sample data would be larger than a holder takes.
std::string TooLongText(const std::string& path, uint64_t largestBytes);
// The warning for a file whose sample values include some that are not audio (not a number,
// infinite, or beyond the largest magnitude kept); they were loaded as silence.
std::string SilencedSamplesText(const std::string& path, uint64_t count, float largestMagnitude);

// Shows a sample-load message with its caption, unless a batch on this thread holds it back.
void ShowLoadMessage(const std::string& text);

// While one lives, the sample-load messages of its thread beyond the first few are held back
// and, when it ends, summed up in one message: a project naming thousands of missing files
// tells the user a few of them and the count of the rest.
class LoadMessageBatch {
 public:
  LoadMessageBatch();
  ~LoadMessageBatch();
  LoadMessageBatch(const LoadMessageBatch&) = delete;
  LoadMessageBatch& operator=(const LoadMessageBatch&) = delete;

 private:
  friend void ShowLoadMessage(const std::string& text);

  LoadMessageBatch* outer_;
  size_t shown_ = 0;
  size_t heldBack_ = 0;
};

}  // namespace samples
