// A step of the step row: an on/off button with a menu whose value is the step's velocity share,
// 0 for a step that does not sound and velocity / 127 for one that does (1 at full velocity). A
// lit step below full velocity shows its level as a bar: the lit image is shaded from the top
// down to the level, so any skin's lit image reads the same way at every size. A vertical drag
// on a lit step changes the velocity (up louder) and shows the number while it lasts; a click
// without a drag toggles the step, and a click on an unlit step lights it at once.
#pragma once

#include <cstdint>

#include "widgets/OnOffBtnWithMenu.h"

namespace widgets {

class StepButton : public OnOffBtnWithMenu {
 public:
  static constexpr int kFullVelocity = 127;
  // The pointer's travel per velocity step, and the travel before a press becomes a drag.
  static constexpr double kPixelsPerVelocity = 1.0;
  static constexpr double kDragThreshold = 3.0;

  using OnOffBtnWithMenu::OnOffBtnWithMenu;

  // The value that shows a step: 0 unlit, else its velocity share (velocity clamped to 1..127).
  static float valueOf(bool sounds, int velocity);
  // The velocity a value stands for (0 for an unlit step).
  static int velocityOf(float value);

  void draw(toolkit::CDrawContext& context) override;
  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;

  bool dragging() const { return dragging_; }

 private:
  // Sets the value and tells the listener, as one gesture of its own unless a drag holds one.
  void report(float value);

  bool pressed_ = false;   // a left press on a lit step, until its release
  bool dragging_ = false;  // that press has moved far enough to set the velocity
  double pressY_ = 0.0;
  int pressVelocity_ = kFullVelocity;
};

}  // namespace widgets
