// The right-click menu of a control: shown 2 pixels below the pointer, in the control's frame.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/COptionMenu.h"

namespace editor {

// Pops the menu up for a mouse-down at where (the control's parent coordinates). A choice
// reaches the menu's listener. The menu is put back as it was; it is never released here.
void PopUpContextMenu(toolkit::CControl& control, toolkit::COptionMenu* menu, toolkit::CPoint where,
                      const toolkit::CButtonState& buttons);

}  // namespace editor
