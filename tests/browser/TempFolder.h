// A fresh folder under the system's temporary folder, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <string>

namespace browsertest {

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as the browser holds folders.
  std::string path() const { return root_.string() + '/'; }
  // Creates an empty file (and its parent folders) below the folder; returns its full path.
  std::string addFile(const std::string& relative) const;
  std::string addFolder(const std::string& relative) const;

 private:
  std::filesystem::path root_;
};

}  // namespace browsertest
