// What the pointer and the keys do to an open pop-up list that the toolkit draws itself: which
// entry is highlighted, and when the list closes with which choice. The window backend feeds it
// its events and draws the list again when the highlight moves.
#pragma once

#include <cstdint>

#include "toolkit/MouseEvents.h"

namespace toolkit {

class PopupListChoice {
 public:
  explicit PopupListChoice(int entryCount) : entryCount_(entryCount) {}

  bool open() const { return open_; }
  // The chosen entry once the list has closed; -1 when the user dismissed it.
  int32_t chosen() const { return chosen_; }
  // The highlighted entry, -1 for none.
  int highlighted() const { return highlighted_; }

  // The pointer moved over an entry (-1: over none). True when the highlight moved.
  bool pointerOver(int entry);
  // A press outside the list dismisses it; inside, the release chooses.
  void press(bool insideList);
  // A release over an entry chooses it; beside the list (the release of the click that opened
  // it, say) it chooses nothing.
  void release(int entry);
  // Escape dismisses the list, Return chooses the highlighted entry, Down and Up move the
  // highlight round the list. True when the highlight moved.
  bool key(VirtualKey key);

 private:
  void close(int32_t chosen);

  int entryCount_;
  int highlighted_ = -1;
  int32_t chosen_ = -1;
  bool open_ = true;
};

}  // namespace toolkit
