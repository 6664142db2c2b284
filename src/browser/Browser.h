// The file-system model behind a sample browser: the directory being shown, the selected
// sample file in it, the accepted extensions, and the listing of the current level as sorted
// entry codes (see EntryCode.h). The top level lists the drive roots.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace browser {

// The directory text that stands for the top level (the drive list).
constexpr std::string_view kTopLevel = "topdir";

// The extensions of the sample files that every browser of the editor accepts.
constexpr const char* kSampleFileTypes =
    "WAV;AIFF;AIFC;AIF;AU;SND;RAW;PAF;IFF;SVX;SF;VOC;W64;MAT4;MAT5;PVF;XI;HTK;CAF;SD2;FLAC;OGG";

// User-interface thread.
class Browser {
 public:
  Browser();

  // Accepted extensions, upper case without the full stop, separated by ";".
  void setFilter(const std::string& extensions);
  // Moves to the folder of the path and selects its file part (none when the path ends with a
  // separator). The listing is not refreshed. A path without any separator names no folder and
  // moves to the top level with nothing selected.
  void setPath(const std::string& path);

  // The drive entries, unsorted.
  std::vector<std::string> listDrives() const;
  // The entries of the current directory, unsorted and unfiltered; empty, after telling the
  // user, when the directory cannot be read.
  std::vector<std::string> listDirectory() const;
  // The listing of the current level: sorted by bytes, files of accepted extensions only.
  std::vector<std::string> getEntries() const;

  // Goes down into a drive or sub-directory (its name as it follows the entry prefix).
  void enterDirectory(const std::string& name);
  // Goes up one level; from a drive root to the top level. Nothing happens at the top level.
  void goUp();
  // Move the selection to the next or previous file of the fresh listing, never wrapping, and
  // return directory + selected file; empty when nothing is selected.
  std::string selectNext();
  std::string selectPrevious();

  const std::vector<std::string>& entries() const { return entries_; }
  const std::string& directory() const { return directory_; }
  const std::string& selectedFile() const { return selectedFile_; }
  const std::vector<std::string>& filter() const { return filter_; }
  bool atTopLevel() const { return directory_ == kTopLevel; }

 protected:
  void setSelectedFile(std::string name) { selectedFile_ = std::move(name); }
  void refreshEntries() { entries_ = getEntries(); }

 private:
  bool accepts(std::string_view fileCode) const;

  std::vector<std::string> entries_;
  std::string directory_;
  std::string selectedFile_;
  std::vector<std::string> filter_;
};

}  // namespace browser
