#include "XvfbDisplay.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

extern char** environ;

namespace testx {
namespace {

constexpr const char* kXvfb = "/usr/bin/Xvfb";

// The first viewable child of the root that matches, or None; matches sees each in turn.
Window FirstTopWindow(Display* display, const std::function<bool(Window, const XWindowAttributes&)>& matches) {
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = None;
  XSync(display, False);
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return None;
  for (unsigned int i = 0; i < count && found == None; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
        matches(children[i], attributes)) {
      found = children[i];
    }
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

bool XvfbDisplay::available() { return access(kXvfb, X_OK) == 0; }

XvfbDisplay::XvfbDisplay() {
  if (!available()) return;
  int number = 100 + static_cast<int>(getpid() % 400);
  while (std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock") ||
         std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number))) {
    ++number;
  }
  const std::string name = ":" + std::to_string(number);
  const char* argv[] = {kXvfb, name.c_str(), "-screen", "0", "1400x900x24", "-nolisten", "tcp", nullptr};
  if (posix_spawn(&server_, kXvfb, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
    server_ = -1;
    return;
  }
  if (const char* previous = std::getenv("DISPLAY")) previousDisplay_ = previous;
  setenv("DISPLAY", name.c_str(), 1);
  for (int attempt = 0; attempt < 100 && !connection_; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    connection_ = XOpenDisplay(name.c_str());
  }
  // The tests destroy windows that the code under test may still name.
  if (connection_) XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
}

void XvfbDisplay::kill() {
  if (server_ > 0) ::kill(server_, SIGKILL);
}

XvfbDisplay::~XvfbDisplay() {
  if (connection_) XCloseDisplay(connection_);
  if (server_ > 0) {
    ::kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
  previousDisplay_ ? setenv("DISPLAY", previousDisplay_->c_str(), 1) : unsetenv("DISPLAY");
}

Window CreateHostWindow(Display* display, int width, int height) {
  const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 20, 20, static_cast<unsigned>(width),
                                            static_cast<unsigned>(height), 0, 0, 0);
  XMapWindow(display, window);
  XSync(display, False);
  return window;
}

Window WaitForTopWindow(Display* display, const std::function<bool(Window, const XWindowAttributes&)>& matches,
                        int timeoutMs) {
  Window found = None;
  PumpUntil([] { std::this_thread::sleep_for(std::chrono::milliseconds(15)); },
            [&] { return (found = FirstTopWindow(display, matches)) != None; }, timeoutMs);
  return found;
}

void SendButton(Display* display, Window window, int x, int y, unsigned int button, bool press) {
  XEvent event{};
  const int type = press ? ButtonPress : ButtonRelease;
  // A release names the button that was held.
  const auto state = press ? 0u : static_cast<unsigned>(Button1Mask << (button - 1));
  event.xbutton = {type, 0, False, display, window, DefaultRootWindow(display), None, 0, x, y,
                   0,    0, state, button,  True};
  XSendEvent(display, window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
  XFlush(display);
}

void SendClick(Display* display, Window window, int x, int y, unsigned int button) {
  SendButton(display, window, x, y, button, true);
  SendButton(display, window, x, y, button, false);
}

void SendKey(Display* display, Window window, unsigned long keysym, unsigned int state) {
  XEvent event{};
  event.xkey = {KeyPress, 0, False, display, window, DefaultRootWindow(display),        None, 0,
                0,        0, 0,     0,       state,  XKeysymToKeycode(display, keysym), True};
  XSendEvent(display, window, False, KeyPressMask, &event);
  XFlush(display);
}

std::thread ChoosePopUpEntry(XvfbDisplay& xvfb, int entry, int* listTop) {
  // The user's own connection, opened before its thread starts.
  Display* display = XOpenDisplay(nullptr);
  return std::thread([&xvfb, entry, listTop, display] {
    const Window list = WaitForTopWindow(
        display, [](Window, const XWindowAttributes& attributes) { return attributes.override_redirect == True; });
    if (list != None) {
      if (listTop != nullptr) {
        XWindowAttributes attributes;
        XGetWindowAttributes(display, list, &attributes);
        *listTop = attributes.y;
      }
      // Entries are 18 pixels high below a 1-pixel border; the click lands in the middle of one.
      SendClick(display, list, 12, 1 + 18 * entry + 9, Button1);
    }
    XCloseDisplay(display);
    if (list == None) xvfb.kill();
  });
}

bool PumpUntil(const std::function<void()>& step, const std::function<bool()>& done, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() >= end) return false;
    step();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return true;
}

std::string WindowTitle(Display* display, Window window) {
  char* name = nullptr;
  const std::string title = XFetchName(display, window, &name) && name != nullptr ? name : "";
  if (name) XFree(name);
  return title;
}

std::vector<std::string> AnswerMessageWindows(Display* display,
                                              const std::function<bool(const std::string&)>& isMessage,
                                              size_t& mostAtOnce, int timeoutMs) {
  std::vector<std::string> answered;
  mostAtOnce = 0;
  const auto sleep = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
  // Looks again for the viewable top windows with a message's title.
  std::vector<Window> shown;
  const auto look = [&]() -> const std::vector<Window>& {
    shown.clear();
    FirstTopWindow(display, [&](Window window, const XWindowAttributes&) {
      if (isMessage(WindowTitle(display, window))) shown.push_back(window);
      return false;
    });
    return shown;
  };
  while (PumpUntil(
      sleep, [&] { return !look().empty(); }, timeoutMs)) {
    mostAtOnce = std::max(mostAtOnce, shown.size());
    const Window box = shown.front();
    answered.push_back(WindowTitle(display, box));
    SendKey(display, box, XK_Return);
    if (!PumpUntil(
            sleep, [&] { return std::ranges::find(look(), box) == shown.end(); }, timeoutMs))
      break;
  }
  return answered;
}

}  // namespace testx
