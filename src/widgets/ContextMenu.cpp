#include "widgets/ContextMenu.h"

#include "toolkit/CFrame.h"

namespace widgets {

void PopUpContextMenu(toolkit::CView& owner, toolkit::COptionMenu* menu, toolkit::CPoint where,
                      const toolkit::CButtonState& buttons) {
  toolkit::CFrame* frame = owner.getFrame();
  if (!menu || !frame) return;
  const toolkit::CPoint inFrame = owner.localToFrame(where);
  const toolkit::CRect rest = menu->getViewSize();
  menu->setViewSize(rest.offsetted(inFrame.x, inFrame.y + 2.0), false);
  // A menu that the frame already holds stays there afterwards.
  const bool added = frame->addView(menu);
  menu->remember();
  toolkit::CPoint at = inFrame;
  menu->onMouseDown(at, buttons);
  menu->looseFocus();
  menu->setViewSize(rest, false);
  if (added) frame->removeView(menu, false);
  menu->forget();
}

}  // namespace widgets
