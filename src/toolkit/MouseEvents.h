// Mouse buttons with modifier keys, and what a view answers to a mouse event.
#pragma once

#include <cstdint>

namespace toolkit {

enum CButton : int32_t {
  kLButton = 1 << 1,
  kMButton = 1 << 2,
  kRButton = 1 << 3,
  kShift = 1 << 4,
  kControl = 1 << 5,
  kAlt = 1 << 6,
  kDoubleClick = 1 << 7,
};

class CButtonState {
 public:
  CButtonState(int32_t state = 0) : state_(state) {}
  bool isLeftButton() const { return (state_ & kLButton) != 0; }
  bool isRightButton() const { return (state_ & kRButton) != 0; }
  bool isDoubleClick() const { return (state_ & kDoubleClick) != 0; }
  bool operator&(int32_t bits) const { return (state_ & bits) != 0; }

 private:
  int32_t state_;
};

enum CMouseEventResult {
  kMouseEventNotHandled = 0,
  // Handled, and the view wants the moves and the release that follow.
  kMouseEventHandled,
  // Handled by the press alone.
  kMouseDownEventHandledButDontNeedMovedOrUpEvents,
};

// Keys a text field reacts to; printable text arrives as characters.
enum class VirtualKey { NoKey, Return, Escape, Back, Delete, Left, Right, Home, End, Up, Down, Tab };

struct KeyStroke {
  char32_t character = 0;
  VirtualKey key = VirtualKey::NoKey;
};

}  // namespace toolkit
