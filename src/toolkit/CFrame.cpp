#include "toolkit/CFrame.h"

#include <cmath>

#include "toolkit/CVSTGUITimer.h"
#include "toolkit/ImageDrawContext.h"
#include "toolkit/PlatformWindow.h"
#include "toolkit/VSTGUIEditorInterface.h"

namespace toolkit {
namespace {

// Dirty rectangles are kept on whole pixels so that merging and drawing agree.
CRect PixelBounds(const CRect& rect) {
  return {std::floor(rect.left), std::floor(rect.top), std::ceil(rect.right), std::ceil(rect.bottom)};
}

// Merging stops at this many separate rectangles; beyond it they all become one.
constexpr size_t kMaxDirtyRects = 16;

}  // namespace

CFrame::CFrame(const CRect& size, void* parentWindow, VSTGUIEditorInterface* editor)
    : CViewContainer(size), editor_(editor) {
  resizeImage();
  open(parentWindow);
}

CFrame::~CFrame() {
  // No edit is committed now: the listeners may be going away as well.
  focusView_ = nullptr;
  // Views go before the window they draw into.
  removeAll(true);
  window_.reset();
}

bool CFrame::open(void* parentWindow) {
  window_.reset();
  if (!parentWindow) return true;
  window_ = CreatePlatformWindow(*this, parentWindow);
  invalidRect({0.0, 0.0, getWidth(), getHeight()});
  return window_ != nullptr;
}

void CFrame::close() {
  setFocusView(nullptr);
  window_.reset();
}

uintptr_t CFrame::getNativeWindow() const { return window_ ? window_->nativeHandle() : 0; }

CFrame* CFrame::getFrame() const { return const_cast<CFrame*>(this); }

void CFrame::resizeImage() {
  image_ = Image(static_cast<int>(getWidth()), static_cast<int>(getHeight()));
  dirtyRects_.clear();
  invalidRect({0.0, 0.0, getWidth(), getHeight()});
}

void CFrame::setViewSize(const CRect& rect, bool /*invalidate*/) {
  CView::setViewSize(rect, false);
  setMouseableArea(rect);
  // A new image has nothing drawn in it yet: all of it is dirty.
  resizeImage();
  if (window_) window_->setSize(image_.width(), image_.height());
}

void CFrame::setDirty(bool dirty) {
  CView::setDirty(dirty);
  if (dirty) invalidRect({0.0, 0.0, getWidth(), getHeight()});
}

void CFrame::invalidRect(const CRect& rect) {
  CRect area = PixelBounds(rect).intersection({0.0, 0.0, getWidth(), getHeight()});
  if (area.isEmpty()) return;
  // Merge with every rectangle it touches until it touches none.
  for (size_t i = 0; i < dirtyRects_.size();) {
    if (dirtyRects_[i].overlaps(area)) {
      area = area.united(dirtyRects_[i]);
      dirtyRects_.erase(dirtyRects_.begin() + static_cast<ptrdiff_t>(i));
      i = 0;
    } else {
      ++i;
    }
  }
  dirtyRects_.push_back(area);
  if (dirtyRects_.size() > kMaxDirtyRects) {
    CRect all;
    for (const CRect& each : dirtyRects_) all = all.united(each);
    dirtyRects_.assign(1, all);
  }
}

void CFrame::render(const CRect& area) { renderAreas({area}); }

void CFrame::renderAreas(const std::vector<CRect>& areas) {
  if (image_.empty()) return;
  const auto context = CreateImageDrawContext(image_);
  for (const CRect& area : areas) {
    context->save();
    context->clip(area);
    context->fillRect(area, kBlackCColor);
    drawChildren(*context, area);
    context->restore();
  }
  context->flush();
}

void CFrame::updateDirty() {
  // Drawing may mark more views dirty; those wait for the next pass.
  const std::vector<CRect> pending = std::move(dirtyRects_);
  dirtyRects_.clear();
  if (pending.empty()) return;
  renderAreas(pending);
  if (window_) {
    for (const CRect& area : pending) window_->present(image_, area);
  }
}

void CFrame::idle() {
  if (window_) window_->processEvents();
  CVSTGUITimer::pollAll();
  updateDirty();
}

int32_t CFrame::popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) {
  if (entries.empty()) return -1;
  if (menuChooser_) return menuChooser_(entries, whereInFrame);
  if (!window_) return -1;
  // The frame is shown as it is while the list is up.
  updateDirty();
  return window_->popupMenu(entries, whereInFrame);
}

void CFrame::setFocusView(CView* view) {
  if (focusView_ == view) return;
  CView* previous = focusView_;
  focusView_ = view;
  if (previous) previous->looseFocus();
  if (view) view->takeFocus();
}

void CFrame::viewRemoved(CView* view) {
  for (const CView* inside = focusView_; inside; inside = inside->getParentView()) {
    if (inside == view) {
      setFocusView(nullptr);
      return;
    }
  }
}

bool CFrame::onKeyDown(const KeyStroke& key) {
  if (focusView_ && focusView_->onKeyDown(key)) return true;
  return editor_ && editor_->onUnusedKey(key);
}

void CFrame::setKeyboardCapture(bool capture) {
  if (window_) window_->setKeyboardFocus(capture);
}

void CFrame::handleMouseDown(CPoint where, CButtonState buttons) {
  // A press outside the view that has the focus ends its editing.
  if (focusView_ && !focusView_->hitTest(focusView_->frameToLocal(where))) {
    setFocusView(nullptr);
  }
  onMouseDown(where, buttons);
}

void CFrame::handleMouseUp(CPoint where, CButtonState buttons) { onMouseUp(where, buttons); }

void CFrame::handleMouseMoved(CPoint where, CButtonState buttons) { onMouseMoved(where, buttons); }

void CFrame::handleWheel(CPoint where, float distance) { onWheel(where, distance); }

}  // namespace toolkit
