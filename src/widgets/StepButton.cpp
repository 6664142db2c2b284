#include "widgets/StepButton.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace widgets {
namespace {

using namespace toolkit;

// Laid over the lit image above the level: the light dims there, the bar below stays bright.
constexpr CColor kAboveLevelShade{0, 0, 0, 140};
constexpr CColor kNumberColour{255, 255, 255, 255};
constexpr CColor kNumberBackColour{0, 0, 0, 170};
// The number's height as a share of the button's, so it follows the editor's size.
constexpr double kNumberSize = 0.45;

}  // namespace

float StepButton::valueOf(bool sounds, int velocity) {
  if (!sounds) return 0.0f;
  return static_cast<float>(std::clamp(velocity, 1, kFullVelocity)) / static_cast<float>(kFullVelocity);
}

int StepButton::velocityOf(float value) {
  return static_cast<int>(std::lround(std::clamp(value, 0.0f, 1.0f) * static_cast<float>(kFullVelocity)));
}

void StepButton::draw(CDrawContext& context) {
  const bool lit = getValue() > 0.0f;
  const CRect& size = getViewSize();
  if (CBitmap* bitmap = getBackground()) bitmap->draw(context, size, {0.0, lit ? getHeight() : 0.0});
  if (lit && getValue() < 1.0f) {
    const double level = size.bottom - getHeight() * getValue();
    context.fillRect({size.left, size.top, size.right, level}, kAboveLevelShade);
  }
  if (dragging_) {
    const double height = getHeight() * kNumberSize;
    const double middle = (size.top + size.bottom) / 2.0;
    const CRect box{size.left, middle - height / 2.0, size.right, middle + height / 2.0};
    context.fillRect(box, kNumberBackColour);
    context.drawText(std::to_string(velocityOf(getValue())), box, CFont{"Arial", height * 0.85, true}, kNumberColour,
                     kCenterText);
  }
  CView::draw(context);
}

CMouseEventResult StepButton::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton() || getValue() == 0.0f || !getMouseEnabled()) {
    return OnOffBtnWithMenu::onMouseDown(where, buttons);
  }
  // A lit step waits for the release: a click switches it off, a drag sets its velocity.
  pressed_ = true;
  dragging_ = false;
  pressY_ = where.y;
  pressVelocity_ = velocityOf(getValue());
  return kMouseEventHandled;
}

CMouseEventResult StepButton::onMouseMoved(CPoint& where, const CButtonState& /*buttons*/) {
  if (!pressed_) return kMouseEventHandled;
  const double travel = pressY_ - where.y;
  if (!dragging_) {
    if (std::abs(travel) < kDragThreshold) return kMouseEventHandled;
    dragging_ = true;
    beginEdit();
    setDirty();
  }
  const auto steps = static_cast<int>(std::lround(travel / kPixelsPerVelocity));
  const float value = valueOf(true, pressVelocity_ + steps);
  if (value != getValue()) report(value);
  return kMouseEventHandled;
}

CMouseEventResult StepButton::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  if (!pressed_) return kMouseEventHandled;
  pressed_ = false;
  if (dragging_) {
    dragging_ = false;
    endEdit();
    setDirty();  // the number goes
  } else {
    report(0.0f);
  }
  return kMouseEventHandled;
}

void StepButton::report(float value) {
  setValue(value);
  if (!dragging_) beginEdit();
  valueChanged();
  if (!dragging_) endEdit();
}

}  // namespace widgets
