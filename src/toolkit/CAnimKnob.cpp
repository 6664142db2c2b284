#include "toolkit/CAnimKnob.h"

#include <algorithm>
#include <cmath>

namespace toolkit {

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                     double heightOfOneImage, CBitmap* background, CPoint offset)
    : CControl(size, listener, tag, background),
      subPixmaps_(std::max<int32_t>(subPixmaps, 1)),
      heightOfOneImage_(heightOfOneImage),
      offset_(offset) {}

int32_t CAnimKnob::currentImage() const {
  // A value shows the image whose range it has reached, so a four-image selector shows its
  // images at 0.0, 0.5, 0.85 and 1.0 (rounding would skip the second one). The tolerance keeps a
  // value stored one float step below an image's own value on that image.
  constexpr double kTolerance = 1e-4;
  const double range = static_cast<double>(getMax()) - getMin();
  const double fraction = range > 0.0 ? (static_cast<double>(getValue()) - getMin()) / range : 0.0;
  return std::clamp(static_cast<int32_t>(std::floor(fraction * (subPixmaps_ - 1) + kTolerance)), 0, subPixmaps_ - 1);
}

void CAnimKnob::draw(CDrawContext& context) {
  if (CBitmap* bitmap = getBackground()) {
    bitmap->draw(context, getViewSize(), {offset_.x, offset_.y + currentImage() * heightOfOneImage_});
  }
  CView::draw(context);
}

CMouseEventResult CAnimKnob::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!getMouseEnabled()) return kMouseEventNotHandled;
  dragging_ = buttons.isLeftButton();
  editing_ = false;
  startY_ = where.y;
  startValue_ = getValue();
  return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!dragging_) return kMouseEventHandled;
  if (!editing_) {
    editing_ = true;
    beginEdit();
  }
  const double range = (buttons & kShift) ? kDragRange * 10.0 : kDragRange;
  const double delta = (startY_ - where.y) / range * (getMax() - getMin());
  const float before = getValue();
  setValue(static_cast<float>(startValue_ + delta));
  if (getValue() != before) valueChanged();
  return kMouseEventHandled;
}

CMouseEventResult CAnimKnob::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  if (editing_) endEdit();
  dragging_ = false;
  editing_ = false;
  return kMouseEventHandled;
}

bool CAnimKnob::onWheel(const CPoint& /*where*/, float distance) {
  if (!getMouseEnabled()) return false;
  const float before = getValue();
  setValue(before + distance * (getMax() - getMin()) / static_cast<float>(std::max(subPixmaps_ - 1, 1)));
  if (getValue() != before) {
    beginEdit();
    valueChanged();
    endEdit();
  }
  return true;
}

}  // namespace toolkit
