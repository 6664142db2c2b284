// A strip knob whose right click shows a context menu instead of turning it.
#pragma once

#include "toolkit/CAnimKnob.h"
#include "toolkit/COptionMenu.h"

namespace widgets {

class CAnimKnobExWithMenu : public toolkit::CAnimKnob {
 public:
  // Takes a reference to the bitmap; the menu is not owned and must outlive the knob.
  CAnimKnobExWithMenu(const toolkit::CRect& size, toolkit::CControlListener* listener, int32_t tag, int32_t subPixmaps,
                      double heightOfOneImage, toolkit::CBitmap* bitmap, toolkit::CPoint offset,
                      toolkit::COptionMenu* menu);

  // The height of one image of the strip, after the strip was scaled.
  void setImageHeight(double height) { setHeightOfOneImage(height); }
  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::COptionMenu* getMenu() const { return menu_; }

 private:
  toolkit::COptionMenu* menu_;
};

}  // namespace widgets
