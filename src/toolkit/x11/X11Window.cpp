// The frame's window on X11: a child of the host's window on the editor's own connection.
#include <X11/Xlib.h>
#include <poll.h>

#include <cmath>
#include <memory>

#include "toolkit/CFrame.h"
#include "toolkit/PlatformWindow.h"
#include "toolkit/PopupListChoice.h"
#include "toolkit/x11/PopupListLook.h"
#include "toolkit/x11/X11Support.h"

namespace toolkit {
namespace {

constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;
constexpr long kEventMask =
    ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask | StructureNotifyMask;

int32_t ModifiersOf(unsigned int state) {
  int32_t buttons = 0;
  if (state & ShiftMask) buttons |= kShift;
  if (state & ControlMask) buttons |= kControl;
  if (state & Mod1Mask) buttons |= kAlt;
  return buttons;
}

int32_t HeldButtonsOf(unsigned int state) {
  int32_t buttons = ModifiersOf(state);
  if (state & Button1Mask) buttons |= kLButton;
  if (state & Button2Mask) buttons |= kMButton;
  if (state & Button3Mask) buttons |= kRButton;
  return buttons;
}

int32_t ButtonOf(unsigned int button) {
  switch (button) {
    case Button1:
      return kLButton;
    case Button2:
      return kMButton;
    case Button3:
      return kRButton;
    default:
      return 0;
  }
}

class X11Window final : public PlatformWindow {
 public:
  X11Window(CFrame& frame, Display* display, Window window)
      : frame_(frame),
        display_(display),
        window_(window),
        surface_(std::make_unique<x11::WindowSurface>(display, window, static_cast<int>(frame.getWidth()),
                                                      static_cast<int>(frame.getHeight()))) {
    x11::IgnoreErrorsOn(display_);
  }

  ~X11Window() override {
    setKeyboardFocus(false);
    // The Cairo surface goes before the window and the connection it draws on.
    surface_.reset();
    {
      // The host may have destroyed its window, and ours with it, already.
      x11::ErrorTrap trap(display_);
      XDestroyWindow(display_, window_);
    }
    x11::StopIgnoringErrorsOn(display_);
    XCloseDisplay(display_);
  }

  void setSize(int width, int height) override {
    XResizeWindow(display_, window_, static_cast<unsigned>(std::max(width, 1)),
                  static_cast<unsigned>(std::max(height, 1)));
    surface_->setSize(width, height);
    XFlush(display_);
  }

  void present(const Image& image, const CRect& area) override {
    surface_->present(image, area);
    XFlush(display_);
  }

  void processEvents() override {
    while (XPending(display_) > 0) {
      XEvent event;
      XNextEvent(display_, &event);
      if (event.xany.window == window_) handle(event);
    }
  }

  int32_t popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) override;

  void setKeyboardFocus(bool take) override {
    if (take == hasFocus_) return;
    x11::ErrorTrap trap(display_);
    if (take) {
      XGetInputFocus(display_, &previousFocus_, &previousRevert_);
      XSetInputFocus(display_, window_, RevertToParent, CurrentTime);
    } else {
      XSetInputFocus(display_, previousFocus_ != None ? previousFocus_ : PointerRoot, RevertToParent, CurrentTime);
    }
    hasFocus_ = take;
  }

  uintptr_t nativeHandle() const override { return window_; }

 private:
  CPoint listPosition(CPoint whereInFrame, const PopupListLook& look) const;

  void handle(XEvent& event) {
    switch (event.type) {
      case Expose:
        frame_.invalidRect({static_cast<double>(event.xexpose.x), static_cast<double>(event.xexpose.y),
                            static_cast<double>(event.xexpose.x + event.xexpose.width),
                            static_cast<double>(event.xexpose.y + event.xexpose.height)});
        break;
      case ButtonPress: {
        const CPoint where{static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)};
        if (event.xbutton.button == Button4 || event.xbutton.button == Button5) {
          frame_.handleWheel(where, event.xbutton.button == Button4 ? 1.0f : -1.0f);
          break;
        }
        int32_t buttons = ButtonOf(event.xbutton.button) | ModifiersOf(event.xbutton.state);
        if (isDoubleClick(event.xbutton)) buttons |= kDoubleClick;
        frame_.handleMouseDown(where, buttons);
        break;
      }
      case ButtonRelease:
        if (ButtonOf(event.xbutton.button) != 0) {
          frame_.handleMouseUp({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)},
                               ButtonOf(event.xbutton.button) | ModifiersOf(event.xbutton.state));
        }
        break;
      case MotionNotify:
        frame_.handleMouseMoved({static_cast<double>(event.xmotion.x), static_cast<double>(event.xmotion.y)},
                                HeldButtonsOf(event.xmotion.state));
        break;
      case KeyPress:
        if (!frame_.onKeyDown(x11::KeyOf(event.xkey))) passToParent(event.xkey);
        break;
      default:
        break;
    }
  }

  // The window selects key presses (it gets them while it has the focus, or while the pointer is
  // over it and the host's window has the focus), so the server does not pass them on to the
  // host's window. A key that neither a text field nor the editor used is sent on to the parent
  // window as it came, and reaches the host as a key on its own window; a host that forwards
  // keys back to the editor hears "not used" for it and keeps it.
  void passToParent(XKeyEvent key) {
    x11::ErrorTrap trap(display_);
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display_, window_, &root, &parent, &children, &count)) return;
    if (children) XFree(children);
    Window child = None;
    XTranslateCoordinates(display_, window_, parent, key.x, key.y, &key.x, &key.y, &child);
    key.window = parent;
    key.subwindow = window_;
    XSendEvent(display_, parent, True, KeyPressMask, reinterpret_cast<XEvent*>(&key));
    XFlush(display_);
  }

  bool isDoubleClick(const XButtonEvent& press) {
    const unsigned long now = x11::NowMs();
    const bool twice = press.button == lastButton_ && now - lastPressMs_ <= kDoubleClickMs &&
                       std::abs(press.x - lastX_) <= kDoubleClickDistance &&
                       std::abs(press.y - lastY_) <= kDoubleClickDistance;
    // A third click starts a new pair.
    lastButton_ = twice ? 0 : press.button;
    lastPressMs_ = now;
    lastX_ = press.x;
    lastY_ = press.y;
    return twice;
  }

  CFrame& frame_;
  Display* display_;
  Window window_;
  std::unique_ptr<x11::WindowSurface> surface_;
  bool hasFocus_ = false;
  Window previousFocus_ = None;
  int previousRevert_ = RevertToParent;
  unsigned int lastButton_ = 0;
  unsigned long lastPressMs_ = 0;
  int lastX_ = 0;
  int lastY_ = 0;
};

// Waits up to a short time for the next event on the connection, so the list's loop never spins.
bool WaitForEvent(Display* display) {
  if (XPending(display) > 0) return true;
  pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
  ::poll(&descriptor, 1, 50);
  return XPending(display) > 0;
}

CPoint PointOf(int x, int y) { return {static_cast<double>(x), static_cast<double>(y)}; }

// An open pop-up list's own window: on the root window, above the others and out of the window
// manager's hands, holding the pointer and the keyboard until it closes.
class PopupListWindow {
 public:
  PopupListWindow(Display* display, const PopupListLook& look, int x, int y)
      : display_(display),
        look_(look),
        window_(create(display, look, x, y)),
        surface_(std::make_unique<x11::WindowSurface>(display, window_, look.width(), look.height())),
        image_(look.width(), look.height()) {
    grabInput();
  }

  ~PopupListWindow() {
    XUngrabKeyboard(display_, CurrentTime);
    XUngrabPointer(display_, CurrentTime);
    surface_.reset();
    XDestroyWindow(display_, window_);
    XFlush(display_);
  }
  PopupListWindow(const PopupListWindow&) = delete;
  PopupListWindow& operator=(const PopupListWindow&) = delete;

  Window id() const { return window_; }

  void show(int highlighted) {
    look_.render(image_, highlighted);
    surface_->present(image_, {0.0, 0.0, static_cast<double>(look_.width()), static_cast<double>(look_.height())});
    XFlush(display_);
  }

 private:
  static Window create(Display* display, const PopupListLook& look, int x, int y) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    const Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(look.width()),
                                        static_cast<unsigned>(look.height()), 0, CopyFromParent, InputOutput,
                                        CopyFromParent, CWOverrideRedirect | CWSaveUnder | CWEventMask, &attributes);
    XMapRaised(display, window);
    XSync(display, False);
    return window;
  }

  void grabInput() {
    // The grab needs a viewable window; the server may take a moment to map it.
    for (int attempt = 0; attempt < 20; ++attempt) {
      if (XGrabPointer(display_, window_, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                       GrabModeAsync, None, None, CurrentTime) == GrabSuccess) {
        break;
      }
      XSync(display_, False);
    }
    XGrabKeyboard(display_, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
  }

  Display* display_;
  const PopupListLook& look_;
  Window window_;
  std::unique_ptr<x11::WindowSurface> surface_;
  Image image_;
};

// Hands one event of the list's window to the choice; true when the list is to be drawn again.
bool FeedListEvent(XEvent& event, const PopupListLook& look, PopupListChoice& choice) {
  switch (event.type) {
    case Expose:
      return true;
    case MotionNotify:
      return choice.pointerOver(look.entryAt(PointOf(event.xmotion.x, event.xmotion.y)));
    case ButtonPress: {
      const CRect list{0.0, 0.0, static_cast<double>(look.width()), static_cast<double>(look.height())};
      choice.press(list.pointInside(PointOf(event.xbutton.x, event.xbutton.y)));
      return false;
    }
    case ButtonRelease:
      choice.release(look.entryAt(PointOf(event.xbutton.x, event.xbutton.y)));
      return false;
    case KeyPress:
      return choice.key(x11::KeyOf(event.xkey).key);
    default:
      return false;
  }
}

// Where the list opens, in root coordinates: at the frame position, moved as far as it takes to
// keep the list on the screen.
CPoint X11Window::listPosition(CPoint whereInFrame, const PopupListLook& look) const {
  const int screen = DefaultScreen(display_);
  int x = 0;
  int y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window_, RootWindow(display_, screen), static_cast<int>(whereInFrame.x),
                        static_cast<int>(whereInFrame.y), &x, &y, &child);
  x = std::max(0, std::min(x, DisplayWidth(display_, screen) - look.width()));
  y = std::max(0, std::min(y, DisplayHeight(display_, screen) - look.height()));
  return PointOf(x, y);
}

int32_t X11Window::popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) {
  const PopupListLook look(entries);
  const CPoint at = listPosition(whereInFrame, look);
  PopupListWindow list(display_, look, static_cast<int>(at.x), static_cast<int>(at.y));
  PopupListChoice choice(static_cast<int>(entries.size()));
  list.show(choice.highlighted());
  while (choice.open()) {
    if (!WaitForEvent(display_)) continue;
    XEvent event;
    XNextEvent(display_, &event);
    if (event.xany.window == list.id()) {
      if (FeedListEvent(event, look, choice)) list.show(choice.highlighted());
    } else if (event.type == Expose && event.xany.window == window_) {
      // The frame's own window is drawn again after the list closes.
      handle(event);
    }
  }
  return choice.chosen();
}

}  // namespace

std::unique_ptr<PlatformWindow> CreatePlatformWindow(CFrame& frame, void* parentWindow) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  const auto parent = static_cast<Window>(reinterpret_cast<uintptr_t>(parentWindow));
  const auto width = static_cast<unsigned>(std::max(1.0, frame.getWidth()));
  const auto height = static_cast<unsigned>(std::max(1.0, frame.getHeight()));
  Window window = None;
  {
    x11::ErrorTrap trap(display);
    window = XCreateSimpleWindow(display, parent, 0, 0, width, height, 0, 0, 0);
    XSelectInput(display, window, kEventMask);
    XMapWindow(display, window);
    if (!trap.ok()) window = None;
  }
  if (window == None) {
    XCloseDisplay(display);
    return nullptr;
  }
  XFlush(display);
  return std::make_unique<X11Window>(frame, display, window);
}

}  // namespace toolkit
