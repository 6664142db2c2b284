// A list of text entries that pops up on a click; choosing one makes it the current entry,
// sets the value to its index and tells the listener.
#pragma once

#include <string>
#include <vector>

#include "toolkit/CParamDisplay.h"

namespace toolkit {

class COptionMenu : public CParamDisplay {
 public:
  COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background = nullptr,
              CBitmap* backgroundWhenClicked = nullptr, int32_t style = 0);

  void addEntry(const std::string& text);
  // Replaces the text of an existing entry; false for an index outside the list.
  bool setEntry(int32_t index, const std::string& text);
  // The entry's text, empty outside the list.
  std::string getEntry(int32_t index) const;
  int32_t getNbEntries() const { return static_cast<int32_t>(entries_.size()); }
  const std::vector<std::string>& entries() const { return entries_; }

  // The chosen entry, -1 before any choice.
  int32_t getCurrentIndex() const { return current_; }
  bool setCurrent(int32_t index);

  // Any button pops the list up at the menu's top left; nothing to choose shows nothing.
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

 protected:
  std::string displayText() const override { return getEntry(current_); }

 private:
  std::vector<std::string> entries_;
  int32_t current_ = -1;
};

}  // namespace toolkit
