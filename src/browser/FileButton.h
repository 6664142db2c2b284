// One entry of a browser listing as a clickable line: a drive, a directory or a file, with the
// icon of its kind drawn at its left.
#pragma once

#include <cstdint>
#include <string>

#include "browser/EntryBitmaps.h"
#include "widgets/TextButton.h"

namespace browser {

enum FileButtonType : int32_t {
  kUnknownButton = -1,  // an entry code of no known kind; clicking it does nothing
  kDriveButton = 0,
  kDirectoryButton = 1,
  kFileButton = 2,
};

class FileButton : public widgets::TextButton {
 public:
  // entryCode as the directory model lists it, such as "fi|kick.wav".
  FileButton(const toolkit::CRect& size, toolkit::CControlListener* listener, int32_t tag, const std::string& entryCode,
             const EntryBitmaps& bitmaps);
  ~FileButton() override = default;

  int32_t getType() const { return type_; }
  // The entry's name without its type prefix.
  const std::string& getName() const { return name_; }

 private:
  int32_t type_ = kUnknownButton;
  std::string name_;
};

}  // namespace browser
