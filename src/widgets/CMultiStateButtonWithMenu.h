// A four-state selector drawn from a four-image strip: every click steps to the next state
// (values 0.0, 0.5, 0.85, 1.0), the wheel to the next or the one before, and the listener hears
// it. Its menu is never shown.
#pragma once

#include <cstdint>

#include "widgets/CAnimKnobExWithMenu.h"

namespace widgets {

class CMultiStateButtonWithMenu : public CAnimKnobExWithMenu {
 public:
  static constexpr float kStateValues[4] = {0.0f, 0.5f, 0.85f, 1.0f};

  using CAnimKnobExWithMenu::CAnimKnobExWithMenu;

  // State 0..3; any other state changes nothing.
  void setState(int32_t state);
  uint8_t getState() const { return state_; }

  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::CMouseEventResult onMouseUp(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::CMouseEventResult onMouseMoved(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  // The wheel steps one state up or down, stopping at the ends; the listener hears a change.
  bool onWheel(const toolkit::CPoint& where, float distance) override;

 private:
  // The state, drawn, and the listener told.
  void changeTo(int32_t state);

  uint8_t state_ = 0;
};

}  // namespace widgets
