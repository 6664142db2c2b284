// A container that shows a part of a larger area (the container size) and scrolls it
// vertically with a scroll bar at its right edge, by dragging, clicking the track or the wheel.
#pragma once

#include "toolkit/CControl.h"
#include "toolkit/CViewContainer.h"

namespace toolkit {

class CScrollView;

// The scroll bar's value runs from 0 (top) to 1 (bottom of the scroll range).
class CScrollbar : public CControl {
 public:
  CScrollbar(const CRect& size, CScrollView& owner);

  void setValue(float value) override;
  void setScrollerColor(CColor color) { scrollerColor_ = color; }
  void setBackgroundColor(CColor color) { backgroundColor_ = color; }
  // The scroller's rectangle for the current value and visible fraction.
  CRect scrollerRect() const;

  void draw(CDrawContext& context) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;

 private:
  float valueAt(double scrollerTop) const;

  CScrollView& owner_;
  CColor scrollerColor_ = kGreyCColor;
  CColor backgroundColor_ = kBlackCColor;
  double grabOffset_ = 0.0;
};

class CScrollView : public CViewContainer {
 public:
  enum Style : int32_t { kHorizontalScrollbar = 1 << 1, kVerticalScrollbar = 1 << 2 };

  CScrollView(const CRect& size, const CRect& containerSize, CFrame* frame, int32_t style, double scrollbarWidth = 16.0,
              CBitmap* background = nullptr);
  ~CScrollView() override;

  // The whole scrollable area, in the coordinates of the views inside.
  void setContainerSize(const CRect& containerSize);
  // Null without the vertical-bar style.
  CScrollbar* getVerticalScrollbar() const { return scrollbar_; }
  // How far the content is scrolled up, in pixels.
  double scrollOffset() const;
  // Visible height as a fraction of the container height (1 when it all fits).
  double visibleFraction() const;

  void drawRect(CDrawContext& context, const CRect& updateRect) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, float distance) override;
  void invalidRect(const CRect& rect) override;
  CPoint childToFrame(CPoint point) const override;
  CPoint toChild(CPoint where) const override;

  // The scroll bar moved: everything shown changes.
  void scrolled();

 protected:
  CRect visibleChildArea() const override;

 private:
  double contentWidth() const;

  CRect containerSize_;
  CScrollbar* scrollbar_ = nullptr;
  bool scrollbarTracking_ = false;
};

}  // namespace toolkit
