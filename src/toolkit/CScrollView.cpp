#include "toolkit/CScrollView.h"

#include <algorithm>

namespace toolkit {
namespace {

// The scroller never gets smaller than this, so it stays easy to grab.
constexpr double kMinScrollerHeight = 12.0;
// Pixels scrolled by one wheel step.
constexpr double kWheelStep = 30.0;

}  // namespace

CScrollbar::CScrollbar(const CRect& size, CScrollView& owner) : CControl(size), owner_(owner) {}

void CScrollbar::setValue(float value) {
  const float before = getValue();
  CControl::setValue(value);
  if (getValue() != before) owner_.scrolled();
}

CRect CScrollbar::scrollerRect() const {
  const CRect& track = getViewSize();
  const double height = std::max(kMinScrollerHeight, track.height() * owner_.visibleFraction());
  const double top = track.top + (track.height() - height) * getValue();
  return {track.left + 2.0, top, track.right - 2.0, std::min(top + height, track.bottom)};
}

float CScrollbar::valueAt(double scrollerTop) const {
  const CRect scroller = scrollerRect();
  const double travel = getHeight() - scroller.height();
  return travel > 0.0 ? static_cast<float>((scrollerTop - getViewSize().top) / travel) : 0.0f;
}

void CScrollbar::draw(CDrawContext& context) {
  context.fillRect(getViewSize(), backgroundColor_);
  if (owner_.visibleFraction() < 1.0) context.fillRect(scrollerRect(), scrollerColor_);
  CView::draw(context);
}

CMouseEventResult CScrollbar::onMouseDown(CPoint& where, const CButtonState& buttons) {
  if (!buttons.isLeftButton() || owner_.visibleFraction() >= 1.0) return kMouseEventNotHandled;
  const CRect scroller = scrollerRect();
  if (!scroller.pointInside(where)) {
    // A click on the track moves the scroller's middle there.
    setValue(valueAt(where.y - scroller.height() / 2.0));
    valueChanged();
  }
  grabOffset_ = where.y - scrollerRect().top;
  return kMouseEventHandled;
}

CMouseEventResult CScrollbar::onMouseMoved(CPoint& where, const CButtonState& /*buttons*/) {
  setValue(valueAt(where.y - grabOffset_));
  valueChanged();
  return kMouseEventHandled;
}

CMouseEventResult CScrollbar::onMouseUp(CPoint& /*where*/, const CButtonState& /*buttons*/) {
  return kMouseEventHandled;
}

CScrollView::CScrollView(const CRect& size, const CRect& containerSize, CFrame* frame, int32_t style,
                         double scrollbarWidth, CBitmap* background)
    : CViewContainer(size, frame, background), containerSize_(containerSize) {
  if (style & kVerticalScrollbar) {
    scrollbar_ = new CScrollbar({size.width() - scrollbarWidth, 0.0, size.width(), size.height()}, *this);
  }
}

CScrollView::~CScrollView() {
  if (scrollbar_) scrollbar_->forget();
}

double CScrollView::contentWidth() const { return scrollbar_ ? getWidth() - scrollbar_->getWidth() : getWidth(); }

double CScrollView::visibleFraction() const {
  const double total = containerSize_.height();
  return total > getHeight() ? getHeight() / total : 1.0;
}

double CScrollView::scrollOffset() const {
  const double range = containerSize_.height() - getHeight();
  if (!scrollbar_ || range <= 0.0) return 0.0;
  return static_cast<double>(scrollbar_->getValue()) * range;
}

void CScrollView::setContainerSize(const CRect& containerSize) {
  containerSize_ = containerSize;
  scrolled();
}

void CScrollView::scrolled() { invalid(); }

CRect CScrollView::visibleChildArea() const {
  const double offset = scrollOffset();
  return {0.0, offset, contentWidth(), offset + getHeight()};
}

CPoint CScrollView::toChild(CPoint where) const {
  return where.offset(-getViewSize().left, -getViewSize().top + scrollOffset());
}

CPoint CScrollView::childToFrame(CPoint point) const {
  point.offset(getViewSize().left, getViewSize().top - scrollOffset());
  return getParentView() ? getParentView()->childToFrame(point) : point;
}

void CScrollView::invalidRect(const CRect& rect) {
  const CRect shown = rect.intersection(visibleChildArea());
  if (shown.isEmpty() || !isVisible() || !getParentView()) return;
  getParentView()->invalidRect(shown.offsetted(getViewSize().left, getViewSize().top - scrollOffset()));
}

void CScrollView::drawRect(CDrawContext& context, const CRect& updateRect) {
  const CRect& size = getViewSize();
  const double offset = scrollOffset();
  context.save();
  context.clip(size);
  context.translate(size.left, size.top);
  const CRect local = updateRect.offsetted(-size.left, -size.top);
  context.save();
  context.clip({0.0, 0.0, contentWidth(), getHeight()});
  context.translate(0.0, -offset);
  drawChildren(context, local.offsetted(0.0, offset).intersection(visibleChildArea()));
  context.restore();
  if (scrollbar_ && scrollbar_->getViewSize().overlaps(local)) scrollbar_->draw(context);
  context.restore();
  CView::draw(context);
}

CMouseEventResult CScrollView::onMouseDown(CPoint& where, const CButtonState& buttons) {
  CPoint local = CPoint{where}.offset(-getViewSize().left, -getViewSize().top);
  if (scrollbar_ && scrollbar_->hitTest(local)) {
    const CMouseEventResult result = scrollbar_->onMouseDown(local, buttons);
    scrollbarTracking_ = result == kMouseEventHandled;
    return result;
  }
  return CViewContainer::onMouseDown(where, buttons);
}

CMouseEventResult CScrollView::onMouseUp(CPoint& where, const CButtonState& buttons) {
  if (!scrollbarTracking_) return CViewContainer::onMouseUp(where, buttons);
  scrollbarTracking_ = false;
  CPoint local = CPoint{where}.offset(-getViewSize().left, -getViewSize().top);
  return scrollbar_->onMouseUp(local, buttons);
}

CMouseEventResult CScrollView::onMouseMoved(CPoint& where, const CButtonState& buttons) {
  if (!scrollbarTracking_) return CViewContainer::onMouseMoved(where, buttons);
  CPoint local = CPoint{where}.offset(-getViewSize().left, -getViewSize().top);
  return scrollbar_->onMouseMoved(local, buttons);
}

bool CScrollView::onWheel(const CPoint& /*where*/, float distance) {
  const double range = containerSize_.height() - getHeight();
  if (!scrollbar_ || range <= 0.0) return false;
  scrollbar_->setValue(scrollbar_->getValue() - static_cast<float>(distance * kWheelStep / range));
  return true;
}

}  // namespace toolkit
