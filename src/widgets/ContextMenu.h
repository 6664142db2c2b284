// The right-click menu of a view (a control, or the frame itself): shown 2 pixels below the
// pointer, in the view's frame.
#pragma once

#include "toolkit/COptionMenu.h"
#include "toolkit/CView.h"

namespace widgets {

// Pops the menu up for a mouse-down at where (the view's parent coordinates). A choice
// reaches the menu's listener. The menu is put back as it was; it is never released here.
void PopUpContextMenu(toolkit::CView& owner, toolkit::COptionMenu* menu, toolkit::CPoint where,
                      const toolkit::CButtonState& buttons);

}  // namespace widgets
