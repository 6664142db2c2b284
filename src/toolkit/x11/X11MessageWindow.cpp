#include "toolkit/MessageWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "toolkit/x11/MessageLook.h"
#include "toolkit/x11/X11Support.h"

namespace toolkit {
namespace {

// Return and Escape, as in a pop-up list, and the space bar, as on a button.
bool ClosesTheMessage(XKeyEvent& event) {
  const KeyStroke key = x11::KeyOf(event);
  return key.key == VirtualKey::Return || key.key == VirtualKey::Escape || key.character == U' ';
}

class X11MessageScreen : public MessageScreen {
 public:
  explicit X11MessageScreen(Display* display) : display_(display) {}
  ~X11MessageScreen() override { XCloseDisplay(display_); }
  X11MessageScreen(const X11MessageScreen&) = delete;
  X11MessageScreen& operator=(const X11MessageScreen&) = delete;

  void show(const std::string& caption, const std::string& text) override;

 private:
  Display* display_;
};

void X11MessageScreen::show(const std::string& caption, const std::string& text) {
  Display* const display = display_;
  const int screen = DefaultScreen(display);
  const MessageLayout layout = LayOutMessage(text, DisplayWidth(display, screen), DisplayHeight(display, screen));
  const Window root = RootWindow(display, screen);
  const Window window =
      XCreateSimpleWindow(display, root, (DisplayWidth(display, screen) - layout.width) / 2,
                          (DisplayHeight(display, screen) - layout.height) / 2, static_cast<unsigned>(layout.width),
                          static_cast<unsigned>(layout.height), 0, 0, 0);
  XStoreName(display, window, caption.c_str());
  Atom closeRequest = XInternAtom(display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(display, window, &closeRequest, 1);
  const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
  const Atom dialogType = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DIALOG", False);
  XChangeProperty(display, window, windowType, XA_ATOM, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(&dialogType), 1);
  XSizeHints hints{};
  hints.flags = PMinSize | PMaxSize;
  hints.min_width = hints.max_width = layout.width;
  hints.min_height = hints.max_height = layout.height;
  XSetWMNormalHints(display, window, &hints);
  XSelectInput(display, window, ExposureMask | ButtonPressMask | ButtonReleaseMask | KeyPressMask);
  XMapRaised(display, window);

  x11::WindowSurface surface(display, window, layout.width, layout.height);
  Image image(layout.width, layout.height);
  bool pressed = false;
  auto redraw = [&] {
    DrawMessage(layout, pressed, image);
    surface.present(image, {0.0, 0.0, static_cast<double>(layout.width), static_cast<double>(layout.height)});
    XFlush(display);
  };

  bool open = true;
  while (open) {
    XEvent event;
    XNextEvent(display, &event);
    // The connection outlives this window; what is left of earlier ones is passed over.
    if (event.xany.window != window) continue;
    switch (event.type) {
      case Expose:
        redraw();
        break;
      case ButtonPress:
        pressed =
            layout.button.pointInside({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)});
        redraw();
        break;
      case ButtonRelease:
        open = !(pressed && layout.button.pointInside(
                                {static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)}));
        pressed = false;
        redraw();
        break;
      case KeyPress:
        open = !ClosesTheMessage(event.xkey);
        break;
      case ClientMessage:
        open = static_cast<Atom>(event.xclient.data.l[0]) != closeRequest;
        break;
      default:
        break;
    }
  }
  XDestroyWindow(display, window);
  XSync(display, False);
}

}  // namespace

std::unique_ptr<MessageScreen> OpenMessageScreen() {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return nullptr;
  return std::make_unique<X11MessageScreen>(display);
}

}  // namespace toolkit
