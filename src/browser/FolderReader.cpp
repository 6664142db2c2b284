#include "browser/FolderReader.h"

#include "browser/EntryCode.h"
#include "platform/Folders.h"

namespace browser {

bool ReadFolderEntries(const std::string& folder, std::vector<std::string>& codes) {
  return platform::ListFolder(folder, [&codes](const platform::FolderItem& item) {
    if (item.isDirectory) {
      codes.push_back(MakeEntryCode(kDirectoryPrefix, item.name));
    } else if (!item.hidden) {
      codes.push_back(MakeEntryCode(kFilePrefix, item.name));
    }
  });
}

}  // namespace browser
