#include "toolkit/PopupListChoice.h"

namespace toolkit {

bool PopupListChoice::pointerOver(int entry) {
  if (entry == highlighted_) return false;
  highlighted_ = entry;
  return true;
}

void PopupListChoice::press(bool insideList) {
  if (!insideList) close(-1);
}

void PopupListChoice::release(int entry) {
  if (entry >= 0) close(entry);
}

bool PopupListChoice::key(VirtualKey key) {
  switch (key) {
    case VirtualKey::Escape:
      close(-1);
      return false;
    case VirtualKey::Return:
      if (highlighted_ >= 0) close(highlighted_);
      return false;
    case VirtualKey::Down:
    case VirtualKey::Up:
      if (entryCount_ == 0) return false;
      // From no highlight, Down starts at the first entry and Up at the last.
      if (highlighted_ < 0) {
        highlighted_ = key == VirtualKey::Down ? 0 : entryCount_ - 1;
      } else {
        highlighted_ = (highlighted_ + (key == VirtualKey::Down ? 1 : entryCount_ - 1)) % entryCount_;
      }
      return true;
    default:
      return false;
  }
}

void PopupListChoice::close(int32_t chosen) {
  chosen_ = chosen;
  open_ = false;
}

}  // namespace toolkit
