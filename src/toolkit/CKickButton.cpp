#include "toolkit/CKickButton.h"

namespace toolkit {

CKickButton::CKickButton(const CRect& size, CControlListener* listener, int32_t tag, double heightOfOneImage,
                         CBitmap* background, CPoint offset)
    : CControl(size, listener, tag, background), heightOfOneImage_(heightOfOneImage), offset_(offset) {}

void CKickButton::draw(CDrawContext& context) {
  if (CBitmap* bitmap = getBackground()) {
    const double offsetY = (getValue() > 0.5f ? heightOfOneImage_ : 0.0) + offset_.y;
    bitmap->draw(context, getViewSize(), {offset_.x, offsetY});
  }
  CView::draw(context);
}

CMouseEventResult CKickButton::onMouseDown(CPoint& /*where*/, const CButtonState& buttons) {
  if (!buttons.isLeftButton() || !getMouseEnabled()) return kMouseEventNotHandled;
  beginEdit();
  setValue(1.0f);
  valueChanged();
  return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseMoved(CPoint& where, const CButtonState& /*buttons*/) {
  // Pressed while the pointer stays over the button, as the user expects from a push button.
  setValue(hitTest(where) ? 1.0f : 0.0f);
  return kMouseEventHandled;
}

CMouseEventResult CKickButton::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  setValue(0.0f);
  valueChanged();
  endEdit();
  return kMouseEventHandled;
}

}  // namespace toolkit
