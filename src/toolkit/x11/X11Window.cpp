// The frame's window on X11: a child of the host's window on the editor's own connection.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <poll.h>

#include <cmath>
#include <memory>

#include "toolkit/CFrame.h"
#include "toolkit/PlatformWindow.h"
#include "toolkit/x11/PopupListLook.h"
#include "toolkit/x11/X11Support.h"

namespace toolkit {
namespace {

constexpr unsigned long kDoubleClickMs = 400;
constexpr int kDoubleClickDistance = 4;
constexpr long kEventMask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask |
                            StructureNotifyMask;

int32_t modifiersOf(unsigned int state) {
  int32_t buttons = 0;
  if (state & ShiftMask) buttons |= kShift;
  if (state & ControlMask) buttons |= kControl;
  if (state & Mod1Mask) buttons |= kAlt;
  return buttons;
}

int32_t heldButtonsOf(unsigned int state) {
  int32_t buttons = modifiersOf(state);
  if (state & Button1Mask) buttons |= kLButton;
  if (state & Button2Mask) buttons |= kMButton;
  if (state & Button3Mask) buttons |= kRButton;
  return buttons;
}

int32_t buttonOf(unsigned int button) {
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

struct VirtualKeyOfSymbol {
  KeySym keysym;
  VirtualKey key;
};
// The keys that reach the views as virtual keys rather than as characters.
constexpr VirtualKeyOfSymbol kVirtualKeys[] = {
    {XK_Return, VirtualKey::Return},  {XK_KP_Enter, VirtualKey::Return}, {XK_Escape, VirtualKey::Escape},
    {XK_BackSpace, VirtualKey::Back}, {XK_Delete, VirtualKey::Delete},   {XK_Up, VirtualKey::Up},
    {XK_Down, VirtualKey::Down},      {XK_Tab, VirtualKey::Tab},
};

KeyStroke keyOf(XKeyEvent& event) {
  char text[8] = {};
  KeySym keysym = NoSymbol;
  const int length = XLookupString(&event, text, sizeof text, &keysym, nullptr);
  KeyStroke key;
  for (const VirtualKeyOfSymbol& entry : kVirtualKeys) {
    if (entry.keysym == keysym) {
      key.key = entry.key;
      return key;
    }
  }
  // XLookupString gives Latin-1 for the printable keys.
  if (length == 1) key.character = static_cast<unsigned char>(text[0]);
  return key;
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
    XResizeWindow(display_, window_, static_cast<unsigned>(std::max(width, 1)), static_cast<unsigned>(std::max(height, 1)));
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
        int32_t buttons = buttonOf(event.xbutton.button) | modifiersOf(event.xbutton.state);
        if (isDoubleClick(event.xbutton)) buttons |= kDoubleClick;
        frame_.handleMouseDown(where, buttons);
        break;
      }
      case ButtonRelease:
        if (buttonOf(event.xbutton.button) != 0) {
          frame_.handleMouseUp({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)},
                               buttonOf(event.xbutton.button) | modifiersOf(event.xbutton.state));
        }
        break;
      case MotionNotify:
        frame_.handleMouseMoved({static_cast<double>(event.xmotion.x), static_cast<double>(event.xmotion.y)},
                                heldButtonsOf(event.xmotion.state));
        break;
      case KeyPress:
        if (!frame_.onKeyDown(keyOf(event.xkey))) passToParent(event.xkey);
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
bool waitForEvent(Display* display) {
  if (XPending(display) > 0) return true;
  pollfd descriptor{ConnectionNumber(display), POLLIN, 0};
  ::poll(&descriptor, 1, 50);
  return XPending(display) > 0;
}

int32_t X11Window::popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) {
  const PopupListLook look(entries);
  const int screen = DefaultScreen(display_);
  const Window root = RootWindow(display_, screen);
  int x = 0;
  int y = 0;
  Window child = None;
  XTranslateCoordinates(display_, window_, root, static_cast<int>(whereInFrame.x), static_cast<int>(whereInFrame.y),
                        &x, &y, &child);
  // Keep the list on the screen.
  x = std::max(0, std::min(x, DisplayWidth(display_, screen) - look.width()));
  y = std::max(0, std::min(y, DisplayHeight(display_, screen) - look.height()));

  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.save_under = True;
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
  const Window list = XCreateWindow(display_, root, x, y, static_cast<unsigned>(look.width()),
                                    static_cast<unsigned>(look.height()), 0, CopyFromParent, InputOutput,
                                    CopyFromParent, CWOverrideRedirect | CWSaveUnder | CWEventMask, &attributes);
  XMapRaised(display_, list);
  XSync(display_, False);
  // The grab needs a viewable window; the server may take a moment to map it.
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (XGrabPointer(display_, list, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask, GrabModeAsync,
                     GrabModeAsync, None, None, CurrentTime) == GrabSuccess) {
      break;
    }
    XSync(display_, False);
  }
  XGrabKeyboard(display_, list, False, GrabModeAsync, GrabModeAsync, CurrentTime);

  x11::WindowSurface surface(display_, list, look.width(), look.height());
  Image image(look.width(), look.height());
  int highlighted = -1;
  auto show = [&] {
    look.render(image, highlighted);
    surface.present(image, {0.0, 0.0, static_cast<double>(look.width()), static_cast<double>(look.height())});
    XFlush(display_);
  };
  show();

  int32_t chosen = -1;
  bool open = true;
  while (open) {
    if (!waitForEvent(display_)) continue;
    XEvent event;
    XNextEvent(display_, &event);
    if (event.xany.window != list) {
      // The frame's own window is drawn again after the list closes.
      if (event.type == Expose && event.xany.window == window_) handle(event);
      continue;
    }
    switch (event.type) {
      case Expose:
        show();
        break;
      case MotionNotify: {
        const int under = look.entryAt({static_cast<double>(event.xmotion.x), static_cast<double>(event.xmotion.y)});
        if (under != highlighted) {
          highlighted = under;
          show();
        }
        break;
      }
      case ButtonPress:
        // A press outside the list dismisses it; inside, the release chooses.
        open = event.xbutton.x >= 0 && event.xbutton.y >= 0 && event.xbutton.x < look.width() &&
               event.xbutton.y < look.height();
        break;
      case ButtonRelease: {
        // The release of the click that opened the list lands beside it and chooses nothing.
        const int under = look.entryAt({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)});
        if (under >= 0) {
          chosen = under;
          open = false;
        }
        break;
      }
      case KeyPress: {
        const KeyStroke key = keyOf(event.xkey);
        if (key.key == VirtualKey::Escape) open = false;
        if (key.key == VirtualKey::Return && highlighted >= 0) {
          chosen = highlighted;
          open = false;
        }
        if (key.key == VirtualKey::Down || key.key == VirtualKey::Up) {
          const int count = static_cast<int>(entries.size());
          highlighted = key.key == VirtualKey::Down ? (highlighted + 1) % count : (highlighted + count - 1) % count;
          show();
        }
        break;
      }
      default:
        break;
    }
  }
  XUngrabKeyboard(display_, CurrentTime);
  XUngrabPointer(display_, CurrentTime);
  XDestroyWindow(display_, list);
  XFlush(display_);
  return chosen;
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
