// Small file-system helpers; paths are plain narrow strings. Descriptors are the C runtime's
// file descriptors, as the audio-file library takes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// True when the path is longer than this platform's file calls take. Such a path is refused
// as it stands, never cut short to a name that may be another file.
bool PathIsTooLong(const std::string& path);
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

// Creates a new file named `prefix` followed by a unique ending, open for writing, with the
// permissions the user gives new files. Its descriptor, and its name in `path`; -1 with errno
// set when the folder refuses it.
int CreateUniqueFile(const std::string& prefix, std::string& path);
// Writes every byte; false with errno set when the file refused some.
bool WriteToFile(int descriptor, const char* data, size_t size);
// Writes every byte over the file's start and leaves the write position where it was (a header
// that is known only once the data is written); false with errno set when that failed.
bool WriteAtStart(int descriptor, const char* data, size_t size);
// Puts what was written on the disk and closes the descriptor (in every case); false with errno
// set when either failed.
bool SyncAndCloseFile(int descriptor);
void CloseFile(int descriptor);
// Gives the file at `from` the name `to`, replacing a file of that name in one step; false with
// errno set when it could not.
bool ReplaceFile(const std::string& from, const std::string& to);
// Writes the bytes to a new file beside the path and, once they are all on the disk, gives it
// the path's name: a failure leaves no half-written file, and a file of that name as it was.
// False with errno set when it could not.
bool WriteWholeFile(const std::string& path, std::string_view bytes);

// Creates one folder inside an existing one; false with errno set when it could not (EEXIST
// when something of that name is there).
bool CreateFolder(const std::string& path);
// Creates the folder and every folder above it that is missing; false with errno set when one
// could not be made.
bool CreateFolders(const std::string& path);

// The local time now, as a file name may hold it: "2026-12-07 14-03-22".
std::string FileNameTimeStamp();

}  // namespace platform
