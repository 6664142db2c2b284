// What the user is told when a sample file cannot be loaded.
#pragma once

#include <string>

namespace samples {

constexpr const char* kSampleLoadErrorCaption = "Sample load error";

// The text for a file that could not be opened: whether it is missing, a WAV file the
// library refuses, or any other file it cannot read.
std::string OpenFailureText(const std::string& path);
// The text for a file that exists but cannot be read.
std::string UnreadableFileText(const std::string& path);

}  // namespace samples
