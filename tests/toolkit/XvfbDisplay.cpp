#include "XvfbDisplay.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>
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

bool displayNumberFree(int number) {
  return !std::filesystem::exists("/tmp/.X" + std::to_string(number) + "-lock") &&
         !std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(number));
}

int errorIgnorer(Display*, XErrorEvent*) { return 0; }


}  // namespace

bool XvfbDisplay::available() { return access(kXvfb, X_OK) == 0; }

XvfbDisplay::XvfbDisplay() {
  if (!available()) return;
  int number = 100 + static_cast<int>(getpid() % 400);
  while (!displayNumberFree(number)) ++number;
  const std::string name = ":" + std::to_string(number);
  const char* argv[] = {kXvfb, name.c_str(), "-screen", "0", "1400x900x24", "-nolisten", "tcp", nullptr};
  if (posix_spawn(&server_, kXvfb, nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
    server_ = -1;
    return;
  }
  if (const char* previous = std::getenv("DISPLAY")) {
    hadDisplay_ = true;
    previousDisplay_ = previous;
  }
  setenv("DISPLAY", name.c_str(), 1);
  for (int attempt = 0; attempt < 100 && !connection_; ++attempt) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    connection_ = XOpenDisplay(name.c_str());
  }
  // The tests destroy windows that the code under test may still name.
  if (connection_) XSetErrorHandler(errorIgnorer);
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
  if (hadDisplay_) {
    setenv("DISPLAY", previousDisplay_.c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
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
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    XSync(display, False);
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
      for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable &&
            matches(children[i], attributes)) {
          const Window found = children[i];
          XFree(children);
          return found;
        }
      }
      if (children) XFree(children);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return None;
}

void SendButton(Display* display, Window window, int x, int y, unsigned int button, bool press) {
  XEvent event{};
  event.xbutton.type = press ? ButtonPress : ButtonRelease;
  event.xbutton.display = display;
  event.xbutton.window = window;
  event.xbutton.root = DefaultRootWindow(display);
  event.xbutton.x = x;
  event.xbutton.y = y;
  event.xbutton.button = button;
  event.xbutton.state = press ? 0 : (Button1Mask << (button - 1));
  event.xbutton.same_screen = True;
  XSendEvent(display, window, False, press ? ButtonPressMask : ButtonReleaseMask, &event);
  XFlush(display);
}

void SendClick(Display* display, Window window, int x, int y, unsigned int button) {
  SendButton(display, window, x, y, button, true);
  SendButton(display, window, x, y, button, false);
}

void SendKey(Display* display, Window window, unsigned long keysym, unsigned int state) {
  XEvent event{};
  event.xkey.type = KeyPress;
  event.xkey.display = display;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(display);
  event.xkey.keycode = XKeysymToKeycode(display, keysym);
  event.xkey.state = state;
  event.xkey.same_screen = True;
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

Capture CaptureWindow(Display* display, Window window, int x, int y, int width, int height) {
  Capture capture;
  XSync(display, False);
  XImage* image = XGetImage(display, window, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height),
                            AllPlanes, ZPixmap);
  if (!image) return capture;
  capture.width = width;
  capture.height = height;
  capture.pixels.reserve(static_cast<size_t>(width * height));
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      capture.pixels.push_back(static_cast<uint32_t>(XGetPixel(image, column, row)) & 0xFFFFFFu);
    }
  }
  XDestroyImage(image);
  return capture;
}

void SaveScreenshot(const Capture& capture, const std::string& name) {
  std::filesystem::create_directories(KH_TEST_OUTPUT_DIR);
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, capture.width, capture.height);
  auto* rows = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int row = 0; row < capture.height; ++row) {
    auto* pixels = reinterpret_cast<uint32_t*>(rows + static_cast<ptrdiff_t>(row) * stride);
    for (int column = 0; column < capture.width; ++column) pixels[column] = capture.at(column, row);
  }
  cairo_surface_mark_dirty(surface);
  cairo_surface_write_to_png(surface, (std::string(KH_TEST_OUTPUT_DIR) + "/" + name + ".png").c_str());
  cairo_surface_destroy(surface);
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
  std::string title;
  if (XFetchName(display, window, &name) && name != nullptr) title = name;
  if (name) XFree(name);
  return title;
}

namespace {

struct TitledWindow {
  Window window;
  std::string title;
};

std::vector<TitledWindow> viewableTitledWindows(Display* display, const std::function<bool(const std::string&)>& accepts) {
  std::vector<TitledWindow> found;
  Window root = None;
  Window parent = None;
  Window* children = nullptr;
  unsigned int count = 0;
  XSync(display, False);
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) return found;
  for (unsigned int i = 0; i < count; ++i) {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display, children[i], &attributes) && attributes.map_state == IsViewable) {
      std::string title = WindowTitle(display, children[i]);
      if (!title.empty() && accepts(title)) found.push_back({children[i], std::move(title)});
    }
  }
  if (children) XFree(children);
  return found;
}

}  // namespace

std::vector<std::string> AnswerMessageWindows(Display* display, const std::function<bool(const std::string&)>& isMessage,
                                              size_t& mostAtOnce, int timeoutMs) {
  std::vector<std::string> answered;
  mostAtOnce = 0;
  std::vector<TitledWindow> showing;
  const auto sleep = [] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); };
  while (PumpUntil(sleep, [&] { return !(showing = viewableTitledWindows(display, isMessage)).empty(); }, timeoutMs)) {
    mostAtOnce = std::max(mostAtOnce, showing.size());
    const Window box = showing.front().window;
    answered.push_back(showing.front().title);
    SendKey(display, box, XK_Return);
    const bool gone = PumpUntil(sleep, [&] {
      const auto now = viewableTitledWindows(display, isMessage);
      return std::none_of(now.begin(), now.end(), [box](const TitledWindow& shown) { return shown.window == box; });
    }, timeoutMs);
    if (!gone) break;
  }
  return answered;
}

}  // namespace testx
