#include "toolkit/x11/X11Support.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>
#include <cairo.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "toolkit/PlatformWindow.h"

namespace toolkit::x11 {
namespace {

bool errorSeen = false;

int RecordError(Display* /*display*/, XErrorEvent* /*event*/) {
  errorSeen = true;
  return 0;
}

struct ErrorFilter {
  std::vector<Display*> ours;
  int (*previous)(Display*, XErrorEvent*) = nullptr;
  bool installed = false;
};

ErrorFilter& Filter() {
  static ErrorFilter instance;
  return instance;
}

int FilterErrors(Display* display, XErrorEvent* event) {
  const auto& ours = Filter().ours;
  if (std::find(ours.begin(), ours.end(), display) != ours.end()) return 0;
  return Filter().previous ? Filter().previous(display, event) : 0;
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

}  // namespace

void IgnoreErrorsOn(Display* display) {
  auto& errors = Filter();
  errors.ours.push_back(display);
  if (!errors.installed) {
    errors.previous = XSetErrorHandler(FilterErrors);
    errors.installed = true;
  }
}

void StopIgnoringErrorsOn(Display* display) {
  auto& ours = Filter().ours;
  ours.erase(std::remove(ours.begin(), ours.end(), display), ours.end());
}

ErrorTrap::ErrorTrap(Display* display) : display_(display) {
  XSync(display_, False);
  errorSeen = false;
  previous_ = XSetErrorHandler(RecordError);
}

ErrorTrap::~ErrorTrap() {
  XSync(display_, False);
  XSetErrorHandler(previous_);
}

bool ErrorTrap::ok() {
  XSync(display_, False);
  return !errorSeen;
}

WindowSurface::WindowSurface(Display* display, Window window, int width, int height)
    : surface_(
          cairo_xlib_surface_create(display, window, DefaultVisual(display, DefaultScreen(display)), width, height)) {}

WindowSurface::~WindowSurface() { cairo_surface_destroy(surface_); }

void WindowSurface::setSize(int width, int height) { cairo_xlib_surface_set_size(surface_, width, height); }

void WindowSurface::present(const Image& image, const CRect& area) {
  if (image.empty() || area.isEmpty()) return;
  auto* pixels = reinterpret_cast<unsigned char*>(const_cast<uint32_t*>(image.data()));
  cairo_surface_t* source =
      cairo_image_surface_create_for_data(pixels, CAIRO_FORMAT_ARGB32, image.width(), image.height(), image.stride());
  cairo_t* cairo = cairo_create(surface_);
  cairo_set_operator(cairo, CAIRO_OPERATOR_SOURCE);
  cairo_rectangle(cairo, area.left, area.top, area.width(), area.height());
  cairo_clip(cairo);
  cairo_set_source_surface(cairo, source, 0, 0);
  cairo_paint(cairo);
  cairo_destroy(cairo);
  cairo_surface_destroy(source);
  cairo_surface_flush(surface_);
}

KeyStroke KeyOf(XKeyEvent& event) {
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

unsigned long NowMs() {
  using namespace std::chrono;
  static const auto start = steady_clock::now();
  return static_cast<unsigned long>(duration_cast<milliseconds>(steady_clock::now() - start).count());
}

}  // namespace toolkit::x11

namespace toolkit {

std::string WindowFailureReason() { return "the X display cannot be reached or the host's window does not exist."; }

}  // namespace toolkit
