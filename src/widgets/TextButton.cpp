#include "widgets/TextButton.h"

namespace widgets {

using namespace toolkit;

TextButton::TextButton(const CRect& size, CControlListener* listener, int32_t tag, const std::string& text)
    : CTextEdit(size, listener, tag, text, nullptr, 0) {
  setFont(ArialFont(14.0));
  setFontColor({0, 255, 0, 255});
  setBackColor({127, 127, 127, 255});
  setFrameColor({255, 0, 0, 255});
  setMouseableArea(size);
}

CMouseEventResult TextButton::onMouseDown(CPoint& /*where*/, const CButtonState& buttons) {
  if (!getMouseEnabled() || !buttons.isLeftButton()) return kMouseEventNotHandled;
  doubleClick_ = buttons.isDoubleClick();
  if (CControlListener* listener = getListener()) listener->valueChanged(this);
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void TextButton::setSelectedLook() {
  setBackColor(kBlackCColor);
  setFontColor({0, 127, 255, 255});
  setFrameColor(kBlackCColor);
}

void TextButton::setNormalLook() {
  setBackColor(kBlackCColor);
  setFontColor(kWhiteCColor);
  setFrameColor(kBlackCColor);
}

}  // namespace widgets
