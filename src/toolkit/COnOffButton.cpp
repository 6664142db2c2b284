#include "toolkit/COnOffButton.h"

#include <utility>

namespace toolkit {

COnOffButton::COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                           int32_t /*style*/)
    : CControl(size, listener, tag, background) {}

void COnOffButton::setCaption(Caption caption) {
  caption_ = std::move(caption);
  designedHeight_ = getHeight();
  setDirty();
}

void COnOffButton::draw(CDrawContext& context) {
  const bool on = getValue() > 0.5f;
  if (CBitmap* bitmap = getBackground()) bitmap->draw(context, getViewSize(), {0.0, on ? getHeight() : 0.0});
  if (!caption_.text.empty() && designedHeight_ > 0.0) {
    const CFont font{"Arial", caption_.fontSize * getHeight() / designedHeight_, true};
    context.drawText(caption_.text, getViewSize(), font, on ? caption_.on : caption_.off, kCenterText);
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
