// The base of everything on screen: a rectangle in its parent's coordinates, a mouse area,
// redraw requests, and the mouse and key handlers a subclass overrides.
#pragma once

#include "toolkit/CBaseObject.h"
#include "toolkit/CDrawContext.h"
#include "toolkit/Geometry.h"
#include "toolkit/MouseEvents.h"

namespace toolkit {

class CFrame;
class CViewContainer;

class CView : public CBaseObject {
 public:
  explicit CView(const CRect& size);

  // Draws the view in its parent's coordinates; updateRect is the part that needs it.
  virtual void draw(CDrawContext& context);
  virtual void drawRect(CDrawContext& context, const CRect& updateRect);

  // where is in the parent's coordinates. The default handles nothing.
  virtual CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseUp(CPoint& where, const CButtonState& buttons);
  virtual CMouseEventResult onMouseMoved(CPoint& where, const CButtonState& buttons);
  // distance > 0 is away from the user. True when used.
  virtual bool onWheel(const CPoint& where, float distance);
  // Keys reach the view that has the focus. True when used.
  virtual bool onKeyDown(const KeyStroke& key);
  virtual void takeFocus() {}
  virtual void looseFocus() {}

  // True when a mouse event at where (parent coordinates) belongs to this view.
  virtual bool hitTest(const CPoint& where) const { return mouseArea_.pointInside(where); }

  const CRect& getViewSize() const { return size_; }
  virtual void setViewSize(const CRect& rect, bool invalidate = true);
  const CRect& getMouseableArea() const { return mouseArea_; }
  void setMouseableArea(const CRect& rect) { mouseArea_ = rect; }
  double getWidth() const { return size_.width(); }
  double getHeight() const { return size_.height(); }

  // A dirty view is redrawn at the frame's next pass; false asks nothing.
  virtual void setDirty(bool dirty = true);
  // Asks for the view's area to be drawn again at the next pass.
  void invalid();
  // Draws the view at once (through the frame, when there is one).
  void redraw();

  void setVisible(bool visible);
  bool isVisible() const { return visible_; }
  void setMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
  bool getMouseEnabled() const { return mouseEnabled_; }

  virtual CFrame* getFrame() const;
  CViewContainer* getParentView() const { return parent_; }
  // A point or rectangle in the parent's coordinates, in the frame's.
  CPoint localToFrame(CPoint point) const;
  CRect localToFrame(const CRect& rect) const;
  // A point in the frame's coordinates, in the parent's.
  CPoint frameToLocal(CPoint point) const;

  // Called by containers when the view is added to or removed from them.
  virtual void attached(CViewContainer* parent) { parent_ = parent; }
  virtual void removed() { parent_ = nullptr; }

 private:
  CRect size_;
  CRect mouseArea_;
  CViewContainer* parent_ = nullptr;
  bool visible_ = true;
  bool mouseEnabled_ = true;
};

}  // namespace toolkit
