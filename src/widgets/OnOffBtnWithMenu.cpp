#include "widgets/OnOffBtnWithMenu.h"

#include "widgets/BitmapSizing.h"
#include "widgets/ContextMenu.h"

namespace widgets {

using namespace toolkit;

OnOffBtnWithMenu::OnOffBtnWithMenu(uint16_t x, uint16_t y, CControlListener* listener, int32_t tag, CBitmap* bitmap,
                                   COptionMenu* menu)
    : COnOffButton({}, listener, tag, nullptr), menu_(menu) {
  FitToTwoStateBitmap(*this, x, y, bitmap);
}

CMouseEventResult OnOffBtnWithMenu::onMouseDown(CPoint& where, const CButtonState& buttons) {
  const CMouseEventResult result = COnOffButton::onMouseDown(where, buttons);
  if (!buttons.isRightButton()) return result;
  PopUpContextMenu(*this, menu_, where, buttons);
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace widgets
