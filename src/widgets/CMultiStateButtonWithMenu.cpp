#include "widgets/CMultiStateButtonWithMenu.h"

namespace widgets {

using namespace toolkit;

void CMultiStateButtonWithMenu::setState(int32_t state) {
  if (state < 0 || state > 3) return;
  state_ = static_cast<uint8_t>(state);
  setValue(kStateValues[state]);
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseDown(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  const float value = getValue();
  if (value < 0.5f) {
    setState(1);
  } else if (value < 0.85f) {
    setState(2);
  } else if (value < 1.0f) {
    setState(3);
  } else {
    setState(0);
  }
  redraw();
  if (getListener()) {
    beginEdit();
    valueChanged();
    endEdit();
  }
  return kMouseEventHandled;
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventHandled;
}

CMouseEventResult CMultiStateButtonWithMenu::onMouseMoved(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventHandled;
}

}  // namespace widgets
