// A momentary button: 1 while the left button is held over it, 0 after the release; the
// listener hears both. The bitmap holds the released image above the pressed one.
#pragma once

#include "toolkit/CControl.h"

namespace toolkit {

class CKickButton : public CControl {
 public:
  CKickButton(const CRect& size, CControlListener* listener, int32_t tag, double heightOfOneImage, CBitmap* background,
              CPoint offset = {});

  void setHeightOfOneImage(double height) { heightOfOneImage_ = height; }
  double getHeightOfOneImage() const { return heightOfOneImage_; }
  void setOffset(CPoint offset) { offset_ = offset; }

  void draw(CDrawContext& context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

 private:
  double heightOfOneImage_;
  CPoint offset_;
};

}  // namespace toolkit
