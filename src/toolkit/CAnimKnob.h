// A knob drawn from a vertical strip of images, one per position; dragging up raises the value.
#pragma once

#include "toolkit/CControl.h"

namespace toolkit {

class CAnimKnob : public CControl {
 public:
  // Pixels of vertical drag that sweep the whole range (ten times as many with Shift).
  static constexpr double kDragRange = 200.0;

  CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps, double heightOfOneImage,
            CBitmap* background, CPoint offset = {});

  void setHeightOfOneImage(double height) { heightOfOneImage_ = height; }
  double getHeightOfOneImage() const { return heightOfOneImage_; }
  // The image shown for the current value.
  int32_t currentImage() const;

  void draw(CDrawContext& context) override;
  // Any button starts tracking; only a left-button drag changes the value.
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, float distance) override;

 private:
  int32_t subPixmaps_;
  double heightOfOneImage_;
  CPoint offset_;
  // The drag in progress.
  bool dragging_ = false;
  bool editing_ = false;
  double startY_ = 0.0;
  float startValue_ = 0.0f;
};

}  // namespace toolkit
