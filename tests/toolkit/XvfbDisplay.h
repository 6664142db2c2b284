// A virtual X display for tests: starts Debian's Xvfb on a free display number, points DISPLAY
// at it for this process, and stops it again. Tests never touch the developer's own display.
#pragma once

#include <X11/Xlib.h>
#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <optional>
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
  void kill();  // at once: a test whose window never appears fails instead of waiting forever
  Display* connection() const { return connection_; }  // the test's own, as host and user

 private:
  pid_t server_ = -1;
  std::optional<std::string> previousDisplay_;
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

// The user choosing entry (from 0) of the pop-up list on a connection of its own in another thread;
// kills the server when no list appears. listTop receives the list's top edge on the screen.
std::thread ChoosePopUpEntry(XvfbDisplay& xvfb, int entry, int* listTop = nullptr);

// The window's title; empty when it has none.
std::string WindowTitle(Display* display, Window window);

// Presses Return in each message window (a top window whose title isMessage accepts) as it shows
// until none shows within the time; the titles in turn, and how many showed together at most.
std::vector<std::string> AnswerMessageWindows(Display* display,
                                              const std::function<bool(const std::string&)>& isMessage,
                                              size_t& mostAtOnce, int timeoutMs = 3000);

// Calls step until done() holds or the time is up; true when it held.
bool PumpUntil(const std::function<void()>& step, const std::function<bool()>& done, int timeoutMs = 3000);

}  // namespace testx
