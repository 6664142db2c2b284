// Small pieces shared by the X11 windows of the toolkit (frame window, pop-up list, message box).
#pragma once

#include <X11/Xlib.h>

#include "toolkit/Geometry.h"
#include "toolkit/Image.h"
#include "toolkit/MouseEvents.h"

typedef struct _cairo_surface cairo_surface_t;

namespace toolkit::x11 {

// While it lives, X errors are recorded instead of ending the process (the default handler
// would take the host down with a plug-in's stale window id).
class ErrorTrap {
 public:
  explicit ErrorTrap(Display* display);
  ~ErrorTrap();
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;
  // Waits for the server to process every request so far; true when none failed.
  bool ok();

 private:
  Display* display_;
  int (*previous_)(Display*, XErrorEvent*);
};

// Errors on the toolkit's own connections (a host that destroyed its window before closing the
// editor, say) are ignored from now on; errors on other connections go to the handler that was
// in place before.
void IgnoreErrorsOn(Display* display);
void StopIgnoringErrorsOn(Display* display);

// Shows part of an image in a window through Cairo.
class WindowSurface {
 public:
  WindowSurface(Display* display, Window window, int width, int height);
  ~WindowSurface();
  WindowSurface(const WindowSurface&) = delete;
  WindowSurface& operator=(const WindowSurface&) = delete;

  void setSize(int width, int height);
  void present(const Image& image, const CRect& area);

 private:
  cairo_surface_t* surface_;
};

// The key of a key press: one of the virtual keys, or else the character it types (Latin-1).
KeyStroke KeyOf(XKeyEvent& event);

// Milliseconds since the first call; for double clicks and pop-up timing.
unsigned long NowMs();

}  // namespace toolkit::x11
