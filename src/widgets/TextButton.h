// A text field that acts as a clickable list entry: a left click (or double click) tells the
// listener at once instead of starting to edit.
#pragma once

#include <string>

#include "toolkit/CTextEdit.h"

namespace widgets {

class TextButton : public toolkit::CTextEdit {
 public:
  TextButton(const toolkit::CRect& size, toolkit::CControlListener* listener, int32_t tag, const std::string& text);

  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;

  // Whether the last left click was a double click.
  bool isDoubleClick() const { return doubleClick_; }
  // The looks of a chosen and of an ordinary entry.
  void setSelectedLook();
  void setNormalLook();

 private:
  bool doubleClick_ = false;
};

}  // namespace widgets
