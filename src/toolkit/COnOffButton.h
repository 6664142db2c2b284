// A two-state button: a left click toggles between 0 and 1. Its bitmap holds the off image
// above the on image, each as high as the button.
#pragma once

#include "toolkit/CControl.h"

namespace toolkit {

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, int32_t style = 0);

  void draw(CDrawContext& context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
};

}  // namespace toolkit
