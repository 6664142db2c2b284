#include "toolkit/COptionMenu.h"

#include <algorithm>

#include "toolkit/CFrame.h"

namespace toolkit {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* /*backgroundWhenClicked*/, int32_t style)
    : CParamDisplay(size, listener, tag, background, style) {
  setMax(0.0f);
}

void COptionMenu::addEntry(const std::string& text) {
  entries_.push_back(text);
  setMax(static_cast<float>(std::max<int32_t>(getNbEntries() - 1, 0)));
}

bool COptionMenu::setEntry(int32_t index, const std::string& text) {
  if (index < 0 || index >= getNbEntries()) return false;
  entries_[static_cast<size_t>(index)] = text;
  setDirty();
  return true;
}

std::string COptionMenu::getEntry(int32_t index) const {
  return index >= 0 && index < getNbEntries() ? entries_[static_cast<size_t>(index)] : std::string{};
}

bool COptionMenu::setCurrent(int32_t index) {
  if (index < 0 || index >= getNbEntries()) return false;
  current_ = index;
  setValue(static_cast<float>(index));
  setDirty();
  return true;
}

CMouseEventResult COptionMenu::onMouseDown(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  if (!getMouseEnabled()) return kMouseEventNotHandled;
  CFrame* frame = getFrame();
  if (!frame || entries_.empty()) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
  const int32_t chosen = frame->popupMenu(entries_, localToFrame(getViewSize().topLeft()));
  if (setCurrent(chosen)) {
    beginEdit();
    valueChanged();
    endEdit();
  }
  return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace toolkit
