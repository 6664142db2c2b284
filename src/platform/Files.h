// Small file-system helpers; paths are plain narrow strings.
#pragma once

#include <string>

namespace platform {

// True when the path is longer than this platform's file calls take. Such a path is refused
// as it stands, never cut short to a name that may be another file.
bool PathIsTooLong(const std::string& path);
// True when the file can be opened for reading.
bool FileExists(const std::string& path);
// True when the folder exists and may be entered.
bool DirectoryExists(const std::string& path);
// The whole file as text: a carriage return directly before a line feed is dropped, and a NUL
// byte drops the rest of its line. Empty when the file cannot be read.
std::string ReadTextFile(const std::string& path);
// Creates or empties the file and writes the content; false when it could not be written.
bool WriteTextFile(const std::string& path, const std::string& content);

}  // namespace platform
