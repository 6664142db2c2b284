#include "toolkit/CViewContainer.h"

#include <algorithm>
#include <iterator>

#include "toolkit/CFrame.h"

namespace toolkit {

CViewContainer::CViewContainer(const CRect& size, CFrame* /*frame*/, CBitmap* background) : CView(size) {
  setBackground(background);
}

CViewContainer::~CViewContainer() {
  removeAll(true);
  if (background_) background_->forget();
}

bool CViewContainer::addView(CView* view) {
  if (!view || isChild(view)) return false;
  children_.push_back(view);
  view->attached(this);
  view->invalid();
  return true;
}

bool CViewContainer::removeView(CView* view, bool withForget) {
  if (!isChild(view)) return false;
  // Searched from the back: emptying a container removes its last view first.
  const auto found = std::find(children_.rbegin(), children_.rend(), view);
  view->invalid();
  if (CFrame* frame = getFrame()) frame->viewRemoved(view);
  children_.erase(std::next(found).base());
  if (mouseDownView_ == view) mouseDownView_ = nullptr;
  view->removed();
  if (withForget) view->forget();
  return true;
}

void CViewContainer::removeAll(bool withForget) {
  while (!children_.empty()) removeView(children_.back(), withForget);
}

bool CViewContainer::isChild(const CView* view) const { return view != nullptr && view->getParentView() == this; }

void CViewContainer::setBackground(CBitmap* background) {
  if (background) background->remember();
  if (background_) background_->forget();
  background_ = background;
  setDirty();
}

void CViewContainer::draw(CDrawContext& context) { drawRect(context, getViewSize()); }

void CViewContainer::drawRect(CDrawContext& context, const CRect& updateRect) {
  const CRect& size = getViewSize();
  context.save();
  context.clip(size);
  context.translate(size.left, size.top);
  drawChildren(context, updateRect.offsetted(-size.left, -size.top));
  context.restore();
  CView::draw(context);
}

void CViewContainer::drawChildren(CDrawContext& context, const CRect& updateRect) {
  const CRect area = updateRect.intersection({0.0, 0.0, getWidth(), getHeight()});
  if (backgroundColor_.alpha != 0) context.fillRect(area, backgroundColor_);
  if (background_) background_->draw(context, area, area.topLeft());
  for (CView* child : children_) {
    if (!child->isVisible()) continue;
    const CRect part = child->getViewSize().intersection(updateRect);
    if (part.isEmpty()) continue;
    context.save();
    context.clip(part);
    child->drawRect(context, part);
    context.restore();
  }
}

CView* CViewContainer::viewAt(const CPoint& childPoint) const {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    CView* child = *it;
    if (child->isVisible() && child->getMouseEnabled() && child->hitTest(childPoint)) return child;
  }
  return nullptr;
}

CPoint CViewContainer::toChild(CPoint where) const { return where.offset(-getViewSize().left, -getViewSize().top); }

CPoint CViewContainer::childToFrame(CPoint point) const {
  point.offset(getViewSize().left, getViewSize().top);
  return getParentView() ? getParentView()->childToFrame(point) : point;
}

CPoint CViewContainer::frameToChild(CPoint point) const {
  return toChild(getParentView() ? getParentView()->frameToChild(point) : point);
}

CMouseEventResult CViewContainer::onMouseDown(CPoint& where, const CButtonState& buttons) {
  CPoint local = toChild(where);
  if (!visibleChildArea().pointInside(local)) return kMouseEventNotHandled;
  CView* target = viewAt(local);
  if (!target) return kMouseEventNotHandled;
  // The view may go away while it handles the press (a menu, a rebuilt list).
  target->remember();
  const CMouseEventResult result = target->onMouseDown(local, buttons);
  if (result == kMouseEventHandled && isChild(target)) mouseDownView_ = target;
  target->forget();
  return result;
}

CMouseEventResult CViewContainer::onMouseUp(CPoint& where, const CButtonState& buttons) {
  CView* target = mouseDownView_;
  mouseDownView_ = nullptr;
  if (!target) return kMouseEventNotHandled;
  CPoint local = toChild(where);
  // As with the press: the release's report may take the view out of the container.
  target->remember();
  const CMouseEventResult result = target->onMouseUp(local, buttons);
  target->forget();
  return result;
}

CMouseEventResult CViewContainer::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!mouseDownView_) return kMouseEventNotHandled;
  CPoint local = toChild(where);
  return mouseDownView_->onMouseMoved(local, buttons);
}

bool CViewContainer::onWheel(const CPoint& where, float distance) {
  const CPoint local = toChild(where);
  CView* target = viewAt(local);
  return target && target->onWheel(local, distance);
}

void CViewContainer::invalidRect(const CRect& rect) {
  const CRect shown = rect.intersection(visibleChildArea());
  if (shown.isEmpty() || !isVisible() || !getParentView()) return;
  getParentView()->invalidRect(shown.offsetted(getViewSize().left, getViewSize().top));
}

}  // namespace toolkit
