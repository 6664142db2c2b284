#include "toolkit/CTextEdit.h"

#include "toolkit/CFrame.h"

namespace toolkit {
namespace {

void AppendUtf8(std::string& text, char32_t c) {
  if (c < 0x80) {
    text += static_cast<char>(c);
  } else if (c < 0x800) {
    text += static_cast<char>(0xC0 | (c >> 6));
    text += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    text += static_cast<char>(0xE0 | (c >> 12));
    text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    text += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Removes the last character, with all of its UTF-8 continuation bytes.
void EraseLast(std::string& text) {
  while (!text.empty()) {
    const auto byte = static_cast<unsigned char>(text.back());
    text.pop_back();
    if ((byte & 0xC0) != 0x80) break;
  }
}

}  // namespace

CTextEdit::CTextEdit(const CRect& size, CControlListener* listener, int32_t tag, const std::string& text,
                     CBitmap* background, int32_t style)
    : CParamDisplay(size, listener, tag, background, style), text_(text) {}

void CTextEdit::setText(const std::string& text) {
  if (text_ == text) return;
  text_ = text;
  if (editing_) editText_ = text;
  setDirty();
}

void CTextEdit::draw(CDrawContext& context) {
  if (!editing_) {
    CParamDisplay::draw(context);
    return;
  }
  // The edited text with a caret after it, in the field's colours.
  drawBox(context, editText_ + "|");
  CView::draw(context);
}

CMouseEventResult CTextEdit::onMouseDown(CPoint& /*where*/, const CButtonState& buttons) {
  if (!getMouseEnabled() || !buttons.isLeftButton()) return kMouseEventNotHandled;
  if (CFrame* frame = getFrame()) frame->setFocusView(this);
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void CTextEdit::takeFocus() {
  editing_ = true;
  editText_ = text_;
  if (CFrame* frame = getFrame()) frame->setKeyboardCapture(true);
  setDirty();
}

void CTextEdit::looseFocus() { endEditing(true); }

void CTextEdit::endEditing(bool keep) {
  if (!editing_) return;
  editing_ = false;
  CFrame* frame = getFrame();
  if (frame) frame->setKeyboardCapture(false);
  setDirty();
  if (keep && editText_ != text_) {
    text_ = editText_;
    beginEdit();
    valueChanged();
    endEdit();
  }
  if (frame && frame->getFocusView() == this) frame->setFocusView(nullptr);
}

bool CTextEdit::onKeyDown(const KeyStroke& key) {
  if (!editing_) return false;
  switch (key.key) {
    case VirtualKey::Return:
      endEditing(true);
      return true;
    case VirtualKey::Escape:
      endEditing(false);
      return true;
    case VirtualKey::Back:
    case VirtualKey::Delete:
      EraseLast(editText_);
      setDirty();
      return true;
    default:
      break;
  }
  if (key.character >= 0x20 && key.character != 0x7F && (!accepts_ || accepts_(key.character))) {
    AppendUtf8(editText_, key.character);
    setDirty();
  }
  return true;
}

}  // namespace toolkit
