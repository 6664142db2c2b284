// Small file-system helpers; paths are plain narrow strings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// True when the file can be opened for reading.
bool FileExists(const std::string& path);
// Told by a path's status alone: nothing is opened, so a pipe or a device never blocks.
// True when anything (a file, a folder, a pipe...) is found at the path.
bool PathExists(const std::string& path);
// The size of a regular file (links followed) that this process may read; nothing for
// anything else: a missing path, a folder, a pipe, a device.
std::optional<uint64_t> ReadableFileSize(const std::string& path);
// True when the folder exists and may be entered.
bool DirectoryExists(const std::string& path);
// The whole file as text: a carriage return directly before a line feed is dropped, and a NUL
// byte drops the rest of its line. Empty when the file cannot be read.
std::string ReadTextFile(const std::string& path);
// Creates or empties the file and writes the content; false when it could not be written.
bool WriteTextFile(const std::string& path, const std::string& content);

}  // namespace platform
