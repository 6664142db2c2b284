#include "widgets/CMultiStateButtonWithMenu.h"

#include <algorithm>

namespace widgets {

using namespace toolkit;

void CMultiStateButtonWithMenu::setState(int32_t state) {
  if (state < 0 || state > 3) return;
  state_ = static_cast<uint8_t>(state);
  setValue(kStateValues[state]);
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseDown(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  const float value = getValue();
  changeTo(value < 0.5f ? 1 : value < 0.85f ? 2 : value < 1.0f ? 3 : 0);
  return kMouseEventHandled;
}

bool CMultiStateButtonWithMenu::onWheel(const CPoint& /*where*/, float distance) {
  if (!getMouseEnabled()) return false;
  const int32_t next = std::clamp(state_ + (distance > 0.0f ? 1 : distance < 0.0f ? -1 : 0), 0, 3);
  if (next != state_) changeTo(next);
  return true;
}

void CMultiStateButtonWithMenu::changeTo(int32_t state) {
  setState(state);
  redraw();
  if (getListener()) {
    beginEdit();
    valueChanged();
    endEdit();
  }
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventHandled;
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseMoved(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventHandled;
}

}  // namespace widgets
