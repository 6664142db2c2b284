// A single-line text field. A left click starts editing: the field takes the keyboard focus,
// Return or a click elsewhere keeps the new text and tells the listener, Escape drops it. While
// it edits, the field keeps every key, also those it has no use for.
#pragma once

#include <functional>
#include <string>

#include "toolkit/CParamDisplay.h"

namespace toolkit {

class CTextEdit : public CParamDisplay {
 public:
  CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const std::string& text = {},
            CBitmap* background = nullptr, int32_t style = 0);

  void setText(const std::string& text);
  // Typed characters that the filter refuses are dropped (by default all printable ones are taken).
  void setCharacterFilter(std::function<bool(char32_t)> accepts) { accepts_ = std::move(accepts); }
  const std::string& getText() const { return text_; }
  bool isEditing() const { return editing_; }

  void draw(CDrawContext& context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  bool onKeyDown(const KeyStroke& key) override;
  void takeFocus() override;
  void looseFocus() override;

 protected:
  std::string displayText() const override { return text_; }

 private:
  void endEditing(bool keep);

  std::string text_;
  std::string editText_;
  std::function<bool(char32_t)> accepts_;
  bool editing_ = false;
};

}  // namespace toolkit
