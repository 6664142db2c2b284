#include "browser/FileButton.h"

#include <string_view>

#include "browser/EntryCode.h"
#include "platform/Messages.h"

namespace browser {
namespace {

// Room for the 23-pixel icon that the background draws at the left of the text.
constexpr const char* kIconSpace = "        ";

}  // namespace

FileButton::FileButton(const toolkit::CRect& size, toolkit::CControlListener* listener, int32_t tag,
                       const std::string& entryCode, const EntryBitmaps& bitmaps)
    : TextButton(size, listener, tag, {}) {
  // The type is what precedes the first bar; the name is everything after it, since file names
  // on this platform may hold bars too.
  const std::string_view code(entryCode);
  const size_t bar = code.find('|');
  const std::string_view prefix = code.substr(0, bar == std::string_view::npos ? bar : bar + 1);
  if (bar != std::string_view::npos) name_ = code.substr(bar + 1);
  setText(kIconSpace + name_);

  if (prefix == kDrivePrefix) {
    type_ = kDriveButton;
    setBackground(bitmaps.drive);
  } else if (prefix == kDirectoryPrefix) {
    type_ = kDirectoryButton;
    setBackground(bitmaps.directory);
  } else if (prefix == kFilePrefix) {
    type_ = kFileButton;
    setBackground(bitmaps.file);
  } else {
    platform::ShowMessage(entryCode, "Internal error FileButton::FileButton(): FileButton has no type: " + entryCode);
  }
  setHoriAlign(toolkit::kLeftText);
  setFont(toolkit::ArialFont(11.0));
  setNormalLook();
}

}  // namespace browser
