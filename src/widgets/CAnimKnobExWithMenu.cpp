#include "widgets/CAnimKnobExWithMenu.h"

#include "widgets/ContextMenu.h"

namespace widgets {

using namespace toolkit;

CAnimKnobExWithMenu::CAnimKnobExWithMenu(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                                         double heightOfOneImage, CBitmap* bitmap, CPoint offset, COptionMenu* menu)
    : CAnimKnob(size, listener, tag, subPixmaps, heightOfOneImage, bitmap, offset), menu_(menu) {
  setMouseableArea(size);
}

CMouseEventResult CAnimKnobExWithMenu::onMouseDown(CPoint& where, const CButtonState& buttons) {
  const CMouseEventResult result = CAnimKnob::onMouseDown(where, buttons);
  if (!buttons.isRightButton()) return result;
  PopUpContextMenu(*this, menu_, where, buttons);
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace widgets
