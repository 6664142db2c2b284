#include "toolkit/CControl.h"

#include <algorithm>

#include "toolkit/CFrame.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace toolkit {

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
  setBackground(background);
}

CControl::~CControl() {
  if (background_) background_->forget();
}

void CControl::setValue(float value) {
  const float bounded = std::clamp(value, min_, max_);
  if (bounded == value_) return;
  value_ = bounded;
  setDirty();
}

void CControl::setBackground(CBitmap* background) {
  if (background) background->remember();
  if (background_) background_->forget();
  background_ = background;
  setDirty();
}

void CControl::beginEdit() {
  if (listener_) listener_->controlBeginEdit(this);
  if (CFrame* frame = getFrame(); frame && frame->getEditor()) frame->getEditor()->beginEdit(tag_);
}

void CControl::endEdit() {
  if (CFrame* frame = getFrame(); frame && frame->getEditor()) frame->getEditor()->endEdit(tag_);
  if (listener_) listener_->controlEndEdit(this);
}

void CControl::valueChanged() {
  if (listener_) listener_->valueChanged(this);
}

}  // namespace toolkit
