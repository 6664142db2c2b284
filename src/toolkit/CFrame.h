// The root container: one per editor window. It draws its views into its own image, marks
// and merges dirty rectangles and redraws only those once per pass, pumps the window's events
// and the timers from idle, and runs pop-up menus and keyboard focus. Without a parent window
// it works offscreen, which is how tests look at its pixels. Like every view, a frame is used on
// the user-interface thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/CViewContainer.h"
#include "toolkit/Image.h"

namespace toolkit {

class PlatformWindow;
class VSTGUIEditorInterface;

class CFrame : public CViewContainer {
 public:
  // Chooses an entry of a pop-up list without a window (tests): index, or -1 for none.
  using MenuChooser = std::function<int32_t(const std::vector<std::string>& entries, CPoint whereInFrame)>;

  // parentWindow: the host's window (an X11 Window id as a pointer) or null for offscreen.
  CFrame(const CRect& size, void* parentWindow, VSTGUIEditorInterface* editor);
  ~CFrame() override;

  // Makes the window inside a (new) parent window; null leaves the frame offscreen.
  // False when a parent was given but no window could be made in it.
  bool open(void* parentWindow);
  // Gives up the window (the host is about to destroy its parent); views and state stay.
  void close();
  bool hasWindow() const { return window_ != nullptr; }
  // The platform handle of the frame's own window, 0 offscreen.
  uintptr_t getNativeWindow() const;

  // Pumps window events and timers, then draws what is dirty. Called from the editor's idle.
  void idle();
  // Draws every dirty rectangle now, each once, and shows it.
  void updateDirty();
  // Draws area (frame coordinates) into the frame's image, regardless of dirty marks.
  void render(const CRect& area);
  const Image& image() const { return image_; }
  // The rectangles waiting for the next pass, already merged.
  const std::vector<CRect>& dirtyRects() const { return dirtyRects_; }

  VSTGUIEditorInterface* getEditor() const { return editor_; }
  CFrame* getFrame() const override;
  void setViewSize(const CRect& rect, bool invalidate = true) override;
  // Marks the whole frame for the next pass.
  void setDirty(bool dirty = true) override;
  void invalidRect(const CRect& rect) override;
  CPoint childToFrame(CPoint point) const override { return point; }
  CPoint toChild(CPoint where) const override { return where; }

  // Pop-up list at a frame position: the chosen index or -1.
  int32_t popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame);
  void setMenuChooser(MenuChooser chooser) { menuChooser_ = std::move(chooser); }

  // The view that receives keys; it is told when it gains or loses the focus.
  void setFocusView(CView* view);
  CView* getFocusView() const { return focusView_; }
  // A view leaves the frame's tree: it can no longer have the focus.
  void viewRemoved(CView* view);
  // Keys from the window, or forwarded by the host: the focused view first, then the editor.
  // True when used.
  bool onKeyDown(const KeyStroke& key) override;
  // While a text field edits, the window takes the keyboard from the host.
  void setKeyboardCapture(bool capture);

  // Input from the window, in frame coordinates; they run the virtual handlers.
  void handleMouseDown(CPoint where, CButtonState buttons);
  void handleMouseUp(CPoint where, CButtonState buttons);
  void handleMouseMoved(CPoint where, CButtonState buttons);
  void handleWheel(CPoint where, float distance);

 private:
  void resizeImage();
  void renderAreas(const std::vector<CRect>& areas);

  VSTGUIEditorInterface* editor_;
  std::unique_ptr<PlatformWindow> window_;
  Image image_;
  std::vector<CRect> dirtyRects_;
  MenuChooser menuChooser_;
  CView* focusView_ = nullptr;
};

}  // namespace toolkit
