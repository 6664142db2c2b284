// A virtual X display for tests: starts Debian's Xvfb on a free display number, points DISPLAY
// at it for this process, and stops it again. Tests never touch the developer's own display.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace testx {

class XvfbDisplay {
 public:
  static bool available();

  XvfbDisplay();
  ~XvfbDisplay();
  XvfbDisplay(const XvfbDisplay&) = delete;
  XvfbDisplay& operator=(const XvfbDisplay&) = delete;

  bool running() const { return connection_ != nullptr; }
  // Ends the server at once: a test whose window never appeared fails instead of waiting forever.
  void kill();
  // A connection of the test's own, acting as the host and as the user.
  Display* connection() const { return connection_; }

 private:
  pid_t server_ = -1;
  std::string previousDisplay_;
  bool hadDisplay_ = false;
  Display* connection_ = nullptr;
};

// A mapped top-level window that stands for the host's editor window.
Window CreateHostWindow(Display* display, int width, int height);

// The first viewable child of the root that matches; None when none appears within the time.
Window WaitForTopWindow(Display* display, const std::function<bool(Window, const XWindowAttributes&)>& matches,
                        int timeoutMs = 3000);

// Input as the server would deliver it, sent straight to a window.
void SendClick(Display* display, Window window, int x, int y, unsigned int button);
void SendButton(Display* display, Window window, int x, int y, unsigned int button, bool press);
void SendKey(Display* display, Window window, unsigned long keysym, unsigned int state = 0);

// The user choosing from a pop-up list, on a connection of its own in another thread: waits for
// the list (the one override-redirect top window), clicks the entry (counted from 0) and, when no
// list appears, kills the server so that the test fails instead of waiting forever. listTop, when
// given, receives the list's top edge on the screen. Join the thread before the display ends.
std::thread ChoosePopUpEntry(XvfbDisplay& xvfb, int entry, int* listTop = nullptr);

// The window's title; empty when it has none.
std::string WindowTitle(Display* display, Window window);

// Acts as the user before message windows (top windows whose title isMessage accepts): presses
// Return in each as it shows, waits for it to go, and stops when none shows within the time.
// The titles in the order they showed; mostAtOnce receives how many showed together at most.
std::vector<std::string> AnswerMessageWindows(Display* display, const std::function<bool(const std::string&)>& isMessage,
                                              size_t& mostAtOnce, int timeoutMs = 3000);

// Calls step until done() holds or the time is up; true when it held.
bool PumpUntil(const std::function<void()>& step, const std::function<bool()>& done, int timeoutMs = 3000);

}  // namespace testx
