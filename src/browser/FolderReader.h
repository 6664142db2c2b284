// What the file system offers the browser, read without touching the process's current
// directory (a host process shares it with everything else it runs). The one place that knows
// how this platform marks folders, files and hidden items.
#pragma once

#include <string>
#include <vector>

namespace browser {

// The roots the top level offers in place of drive letters, each ending with the path
// separator: the file-system root, then the user's home folder when it can be entered and is
// not the root itself.
std::vector<std::string> ReadDriveRoots();

// Appends one entry code per listable item of the folder, in the file system's order: "di|"
// for every sub-directory (hidden ones included), "fi|" for every regular file that is not
// hidden. Links count as what they point to; dangling links, devices, pipes and sockets are
// left out, and so are "." and "..". False, with nothing appended, when the folder cannot be
// opened.
bool ReadFolderEntries(const std::string& folder, std::vector<std::string>& codes);

}  // namespace browser
