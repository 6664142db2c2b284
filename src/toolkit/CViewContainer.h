// A view that holds other views, draws them over its background and routes mouse events to
// the topmost one under the pointer. It owns the views added to it: removing with forget
// releases a view, and the container releases what it still holds when it goes.
#pragma once

#include <vector>

#include "toolkit/CBitmap.h"
#include "toolkit/CView.h"

namespace toolkit {

class CViewContainer : public CView {
 public:
  // The frame argument is accepted for the classic signature; the frame is found through the
  // parent chain once the container is added.
  CViewContainer(const CRect& size, CFrame* frame = nullptr, CBitmap* background = nullptr);
  ~CViewContainer() override;

  // Adds on top; a view already held is not added twice. Returns false then.
  virtual bool addView(CView* view);
  virtual bool removeView(CView* view, bool withForget = true);
  virtual void removeAll(bool withForget = true);
  bool isChild(const CView* view) const;
  int getNbViews() const { return static_cast<int>(children_.size()); }

  void setBackground(CBitmap* background);
  CBitmap* getBackground() const { return background_; }
  void setBackgroundColor(CColor color) { backgroundColor_ = color; }

  void draw(CDrawContext& context) override;
  void drawRect(CDrawContext& context, const CRect& updateRect) override;
  CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons) override;
  CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons) override;
  bool onWheel(const CPoint& where, float distance) override;

  // A rectangle in this container's child coordinates needs drawing.
  virtual void invalidRect(const CRect& rect);
  // A point in child coordinates, in the frame's.
  virtual CPoint childToFrame(CPoint point) const;
  // A point in the frame's coordinates, in child coordinates.
  CPoint frameToChild(CPoint point) const;
  // A point in the parent's coordinates, in child coordinates.
  virtual CPoint toChild(CPoint where) const;

 protected:
  // Draws background and the children that meet updateRect (child coordinates).
  void drawChildren(CDrawContext& context, const CRect& updateRect);
  CView* viewAt(const CPoint& childPoint) const;
  // The area that children show in, in child coordinates.
  virtual CRect visibleChildArea() const { return {0.0, 0.0, getWidth(), getHeight()}; }

 private:
  std::vector<CView*> children_;
  CBitmap* background_ = nullptr;
  CColor backgroundColor_ = kTransparentCColor;
  CView* mouseDownView_ = nullptr;
};

}  // namespace toolkit
