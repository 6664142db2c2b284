#include "toolkit/COnOffButton.h"

namespace toolkit {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                           int32_t /*style*/)
    : CControl(size, listener, tag, background) {}

void COnOffButton::draw(CDrawContext& context) {
  if (CBitmap* bitmap = getBackground()) {
    const double offsetY = getValue() > 0.5f ? getHeight() : 0.0;
    bitmap->draw(context, getViewSize(), {0.0, offsetY});
  }
  CView::draw(context);
}

CMouseEventResult COnOffButton::onMouseDown(CPoint& /*where*/, const CButtonState& buttons) {
  if (!buttons.isLeftButton() || !getMouseEnabled()) return kMouseEventNotHandled;
  setValue(getValue() > 0.5f ? 0.0f : 1.0f);
  beginEdit();
  valueChanged();
  endEdit();
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace toolkit
