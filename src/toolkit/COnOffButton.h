// A two-state button: a left click toggles between 0 and 1. Its bitmap holds the off image
// above the on image, each as high as the button.
#pragma once

#include <string>

#include "toolkit/CControl.h"

namespace toolkit {

class COnOffButton : public CControl {
 public:
  COnOffButton(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, int32_t style = 0);

  // Lettering drawn over a bitmap that carries none: centred, in bold, in the off or the on
  // colour. Given at the designed size; the letters then follow the button's height, drawn
  // sharp at every size instead of shrunk with the bitmap.
  struct Caption {
    std::string text;
    double fontSize = 0.0;
    CColor off;
    CColor on;
  };
  void setCaption(Caption caption);

  void draw(CDrawContext& context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

 private:
  Caption caption_;
  double designedHeight_ = 0.0;
};

}  // namespace toolkit
