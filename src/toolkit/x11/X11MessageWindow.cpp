#include "toolkit/MessageWindow.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <vector>

#include "platform/Messages.h"
#include "toolkit/CairoDrawContext.h"
#include "toolkit/x11/X11Support.h"

namespace toolkit {
namespace {

const CFont kTextFont = ArialFont(13.0);
constexpr double kMaxTextWidth = 420.0;
constexpr double kLineHeight = 18.0;
constexpr double kMargin = 18.0;
constexpr double kButtonWidth = 84.0;
constexpr double kButtonHeight = 26.0;

// The text broken into lines that fit the window, at spaces where possible.
std::vector<std::string> wrap(const std::string& text, CDrawContext& measure) {
  std::vector<std::string> lines;
  std::istringstream paragraphs(text);
  std::string paragraph;
  while (std::getline(paragraphs, paragraph)) {
    std::istringstream words(paragraph);
    std::string word;
    std::string line;
    while (words >> word) {
      const std::string candidate = line.empty() ? word : line + " " + word;
      if (!line.empty() && measure.textWidth(candidate, kTextFont) > kMaxTextWidth) {
        lines.push_back(line);
        line = word;
      } else {
        line = candidate;
      }
    }
    lines.push_back(line);
  }
  return lines;
}

struct MessageLayout {
  std::vector<std::string> lines;
  int width = 0;
  int height = 0;
  CRect button;
};

MessageLayout layOut(const std::string& text) {
  Image probe(1, 1);
  CairoDrawContext measure(probe);
  MessageLayout layout;
  layout.lines = wrap(text, measure);
  double widest = 200.0;
  for (const std::string& line : layout.lines) widest = std::max(widest, measure.textWidth(line, kTextFont));
  layout.width = static_cast<int>(std::ceil(widest + 2.0 * kMargin));
  const double textHeight = kLineHeight * static_cast<double>(layout.lines.size());
  layout.height = static_cast<int>(std::ceil(kMargin + textHeight + kMargin + kButtonHeight + kMargin));
  const double buttonLeft = (layout.width - kButtonWidth) / 2.0;
  const double buttonTop = layout.height - kMargin - kButtonHeight;
  layout.button = {buttonLeft, buttonTop, buttonLeft + kButtonWidth, buttonTop + kButtonHeight};
  return layout;
}

void render(const MessageLayout& layout, bool pressed, Image& image) {
  CairoDrawContext context(image);
  const CRect all{0.0, 0.0, static_cast<double>(layout.width), static_cast<double>(layout.height)};
  context.fillRect(all, {242, 242, 240, 255});
  for (size_t i = 0; i < layout.lines.size(); ++i) {
    const double top = kMargin + kLineHeight * static_cast<double>(i);
    context.drawText(layout.lines[i], {kMargin, top, all.right - kMargin, top + kLineHeight}, kTextFont,
                     {20, 20, 20, 255}, kLeftText);
  }
  context.fillRect(layout.button, pressed ? CColor{190, 190, 188, 255} : CColor{222, 222, 220, 255});
  context.frameRect(layout.button, {120, 120, 120, 255}, 1.0);
  context.drawText("OK", layout.button, kTextFont, {20, 20, 20, 255}, kCenterText);
  context.flush();
}

bool closesTheMessage(XKeyEvent& event) {
  KeySym keysym = NoSymbol;
  char text[4];
  XLookupString(&event, text, sizeof text, &keysym, nullptr);
  return keysym == XK_Return || keysym == XK_KP_Enter || keysym == XK_Escape || keysym == XK_space;
}

}  // namespace

bool ShowMessageWindow(const std::string& caption, const std::string& text) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  const MessageLayout layout = layOut(text);
  const int screen = DefaultScreen(display);
  const Window root = RootWindow(display, screen);
  const Window window = XCreateSimpleWindow(display, root, (DisplayWidth(display, screen) - layout.width) / 2,
                                            (DisplayHeight(display, screen) - layout.height) / 2,
                                            static_cast<unsigned>(layout.width), static_cast<unsigned>(layout.height),
                                            0, 0, 0);
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
  auto show = [&] {
    render(layout, pressed, image);
    surface.present(image, {0.0, 0.0, static_cast<double>(layout.width), static_cast<double>(layout.height)});
    XFlush(display);
  };

  bool open = true;
  while (open) {
    XEvent event;
    XNextEvent(display, &event);
    switch (event.type) {
      case Expose:
        show();
        break;
      case ButtonPress:
        pressed = layout.button.pointInside({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)});
        show();
        break;
      case ButtonRelease:
        open = !(pressed &&
                 layout.button.pointInside({static_cast<double>(event.xbutton.x), static_cast<double>(event.xbutton.y)}));
        pressed = false;
        show();
        break;
      case KeyPress:
        open = !closesTheMessage(event.xkey);
        break;
      case ClientMessage:
        open = static_cast<Atom>(event.xclient.data.l[0]) != closeRequest;
        break;
      default:
        break;
    }
  }
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return true;
}

void InstallMessageWindow() {
  // Without a display, messages keep going where they went before (standard error).
  auto fallback = std::make_shared<platform::MessageSink>();
  *fallback = platform::SetMessageSink([fallback](const std::string& caption, const std::string& text) {
    if (!ShowMessageWindow(caption, text)) (*fallback)(caption, text);
  });
}

}  // namespace toolkit
