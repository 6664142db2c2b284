// What a folder offers the browser, as entry codes.
#pragma once

#include <string>
#include <vector>

namespace browser {

// Appends one entry code per listable item of the folder, in the file system's order: "di|"
// for every sub-directory (hidden ones included), "fi|" for every regular file that is not
// hidden (platform::ListFolder says which items count). False, with nothing appended, when the
// folder cannot be opened.
bool ReadFolderEntries(const std::string& folder, std::vector<std::string>& codes);

}  // namespace browser
