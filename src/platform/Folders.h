// Reading folders without touching the process's current directory (a host process shares it
// with everything else it runs).
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace platform {

struct FolderItem {
  const char* name;
  bool isDirectory;  // otherwise a regular file
  bool hidden;       // marked hidden the way this system marks it
};

// Calls `visit` for every sub-directory and regular file of the folder, in the file system's
// order. Links count as what they point to; dangling links, devices, pipes and sockets are left
// out, and so are "." and "..". False, with no call, when the folder cannot be opened.
bool ListFolder(const std::string& folder, const std::function<void(const FolderItem&)>& visit);

// The folders a file browser starts from, each ending with the separator: on systems without
// drive letters the file-system root, then the user's home folder when it can be entered and is
// not the root itself.
std::vector<std::string> TopLevelFolders();
// What a user calls the level that lists the top-level folders.
std::string TopLevelName();

}  // namespace platform
