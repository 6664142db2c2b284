#include "toolkit/CView.h"

#include "toolkit/CFrame.h"
#include "toolkit/CViewContainer.h"

namespace toolkit {

CView::CView(const CRect& size) : size_(size), mouseArea_(size) {}

void CView::draw(CDrawContext& /*context*/) {}

void CView::drawRect(CDrawContext& context, const CRect& /*updateRect*/) { draw(context); }

CMouseEventResult CView::onMouseDown(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotHandled;
}

CMouseEventResult CView::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) { return kMouseEventNotHandled; }

CMouseEventResult CView::onMouseMoved(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventNotHandled;
}

bool CView::onWheel(const CPoint& /*where*/, float /*distance*/) { return false; }

bool CView::onKeyDown(const KeyStroke& /*key*/) { return false; }

void CView::setViewSize(const CRect& rect, bool invalidate) {
  if (invalidate) invalid();
  size_ = rect;
  if (invalidate) invalid();
}

void CView::setDirty(bool dirty) {
  if (dirty) invalid();
}

void CView::invalid() {
  if (parent_ && visible_) parent_->invalidRect(size_);
}

void CView::redraw() {
  invalid();
  if (CFrame* frame = getFrame()) frame->updateDirty();
}

void CView::setVisible(bool visible) {
  if (visible_ == visible) return;
  if (visible_) invalid();
  visible_ = visible;
  invalid();
}

CFrame* CView::getFrame() const { return parent_ ? parent_->getFrame() : nullptr; }

CPoint CView::localToFrame(CPoint point) const { return parent_ ? parent_->childToFrame(point) : point; }

CPoint CView::frameToLocal(CPoint point) const { return parent_ ? parent_->frameToChild(point) : point; }

CRect CView::localToFrame(const CRect& rect) const {
  const CPoint topLeft = localToFrame(rect.topLeft());
  return CRect{rect}.offset(topLeft.x - rect.left, topLeft.y - rect.top);
}

}  // namespace toolkit
