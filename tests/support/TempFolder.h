// A fresh folder below the system's temporary folder, removed with everything in it at the end;
// and reading a whole file back, for tests that compare what the code under test wrote.
#pragma once

#include <string>
#include <string_view>

namespace testhost {

// The whole file, or nothing when it cannot be read.
std::string ReadBytes(const std::string& path);

class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder with a trailing separator, as the plug-in holds folders.
  const std::string& path() const { return path_; }
  // The path of a file (or folder) below the folder; nothing is created.
  std::string file(const std::string& relative) const { return path_ + relative; }
  // Writes the bytes to a file below the folder, creating its folders.
  void write(const std::string& relative, std::string_view bytes) const;
  // Creates a one-byte file (and its folders) below the folder; returns its full path.
  std::string addFile(const std::string& relative) const;
  // Creates a folder (and its parents) below the folder; returns its path with a trailing separator.
  std::string addFolder(const std::string& relative) const;

 private:
  std::string path_;
};

}  // namespace testhost
