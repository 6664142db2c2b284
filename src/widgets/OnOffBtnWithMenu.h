// An on/off button sized by its bitmap whose right click shows a context menu.
#pragma once

#include <cstdint>

#include "toolkit/COnOffButton.h"
#include "toolkit/COptionMenu.h"

namespace widgets {

class OnOffBtnWithMenu : public toolkit::COnOffButton {
 public:
  // The menu is not owned and must outlive the button.
  OnOffBtnWithMenu(uint16_t x, uint16_t y, toolkit::CControlListener* listener, int32_t tag, toolkit::CBitmap* bitmap,
                   toolkit::COptionMenu* menu);

  // A left click toggles; a right click only shows the menu.
  toolkit::CMouseEventResult onMouseDown(toolkit::CPoint& where, const toolkit::CButtonState& buttons) override;
  toolkit::COptionMenu* getMenu() const { return menu_; }

 private:
  toolkit::COptionMenu* menu_;
};

}  // namespace widgets
