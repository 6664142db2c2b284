// The frame's window on Windows: a child of the host's window. The host's message loop delivers
// its input; a window timer keeps the toolkit's timers and drawing going between the host's idle calls.
#include <windows.h>
#include <windowsx.h>

#include <algorithm>
#include <memory>
#include <string>

#include "platform/OwnModuleWin32.h"
#include "toolkit/CFrame.h"
#include "toolkit/CVSTGUITimer.h"
#include "toolkit/PlatformWindow.h"

namespace toolkit {
namespace {

constexpr char kClassName[] = "KestrelhollowFrame";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTimerMs = 20;
// One notch of a mouse wheel.
constexpr double kWheelNotch = WHEEL_DELTA;

int32_t ModifiersNow() {
  int32_t buttons = 0;
  if (::GetKeyState(VK_SHIFT) < 0) buttons |= kShift;
  if (::GetKeyState(VK_CONTROL) < 0) buttons |= kControl;
  if (::GetKeyState(VK_MENU) < 0) buttons |= kAlt;
  return buttons;
}

int32_t HeldButtonsOf(WPARAM state) {
  int32_t buttons = ModifiersNow();
  if (state & MK_LBUTTON) buttons |= kLButton;
  if (state & MK_MBUTTON) buttons |= kMButton;
  if (state & MK_RBUTTON) buttons |= kRButton;
  return buttons;
}

struct VirtualKeyOfCode {
  WPARAM code;
  VirtualKey key;
};
// The keys that reach the views as virtual keys; printable text comes as characters.
constexpr VirtualKeyOfCode kVirtualKeys[] = {
    {VK_RETURN, VirtualKey::Return}, {VK_ESCAPE, VirtualKey::Escape}, {VK_BACK, VirtualKey::Back},
    {VK_DELETE, VirtualKey::Delete}, {VK_UP, VirtualKey::Up},         {VK_DOWN, VirtualKey::Down},
    {VK_TAB, VirtualKey::Tab},
};

CPoint PointOf(LPARAM position) {
  return {static_cast<double>(GET_X_LPARAM(position)), static_cast<double>(GET_Y_LPARAM(position))};
}

// An ampersand marks a menu's keyboard letter; entries show theirs as written.
std::string MenuText(const std::string& entry) {
  std::string text;
  for (const char c : entry) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

int& WindowCount() {
  static int count = 0;
  return count;
}

class Win32Window final : public PlatformWindow {
 public:
  explicit Win32Window(CFrame& frame) : frame_(frame) {}

  ~Win32Window() override {
    setKeyboardFocus(false);
    // The host may have destroyed its window, and ours with it, already.
    if (window_ != nullptr && ::IsWindow(window_)) ::DestroyWindow(window_);
    if (--WindowCount() == 0) ::UnregisterClassA(kClassName, platform::OwnModule());
  }

  bool create(HWND parent) {
    // The class is registered for this module with the first window and goes with the last.
    if (WindowCount()++ == 0) {
      WNDCLASSEXA windowClass{};
      windowClass.cbSize = sizeof windowClass;
      windowClass.style = CS_DBLCLKS;
      windowClass.lpfnWndProc = &Win32Window::procedure;
      windowClass.hInstance = platform::OwnModule();
      windowClass.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
      windowClass.lpszClassName = kClassName;
      ::RegisterClassExA(&windowClass);
    }
    const int width = static_cast<int>(std::max(1.0, frame_.getWidth()));
    const int height = static_cast<int>(std::max(1.0, frame_.getHeight()));
    window_ = ::CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height, parent,
                                nullptr, platform::OwnModule(), this);
    if (window_ == nullptr) return false;
    ::SetTimer(window_, kTimerId, kTimerMs, nullptr);
    return true;
  }

  void setSize(int width, int height) override {
    ::SetWindowPos(window_, nullptr, 0, 0, std::max(width, 1), std::max(height, 1),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void present(const Image& image, const CRect& area) override {
    const int left = std::max(0, static_cast<int>(area.left));
    const int top = std::max(0, static_cast<int>(area.top));
    const int right = std::min(image.width(), static_cast<int>(area.right));
    const int bottom = std::min(image.height(), static_cast<int>(area.bottom));
    if (window_ == nullptr || right <= left || bottom <= top) return;
    // The rows of the area as a top-down bitmap of their own: its origin is then the same
    // whichever corner a bitmap counts from.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width();
    info.bmiHeader.biHeight = -(bottom - top);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const uint32_t* rows = image.data() + static_cast<ptrdiff_t>(top) * image.width();
    const HDC context = ::GetDC(window_);
    ::SetDIBitsToDevice(context, left, top, static_cast<DWORD>(right - left), static_cast<DWORD>(bottom - top), left, 0,
                        0, static_cast<UINT>(bottom - top), rows, &info, DIB_RGB_COLORS);
    ::ReleaseDC(window_, context);
  }

  void processEvents() override {
    MSG message;
    while (window_ != nullptr && ::PeekMessageA(&message, window_, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageA(&message);
    }
  }

  int32_t popupMenu(const std::vector<std::string>& entries, CPoint whereInFrame) override {
    const HMENU menu = ::CreatePopupMenu();
    if (menu == nullptr) return -1;
    for (size_t i = 0; i < entries.size(); ++i) {
      ::AppendMenuA(menu, MF_STRING, i + 1, MenuText(entries[i]).c_str());
    }
    POINT where{static_cast<LONG>(whereInFrame.x), static_cast<LONG>(whereInFrame.y)};
    ::ClientToScreen(window_, &where);
    // The command number comes back directly (0 when dismissed); no message is posted.
    const BOOL chosen =
        ::TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, where.x,
                         where.y, 0, window_, nullptr);
    ::DestroyMenu(menu);
    return static_cast<int32_t>(chosen) - 1;
  }

  void setKeyboardFocus(bool take) override {
    if (take == hasFocus_ || window_ == nullptr) return;
    if (take) {
      previousFocus_ = ::SetFocus(window_);
    } else if (::GetFocus() == window_) {
      ::SetFocus(previousFocus_ != nullptr && ::IsWindow(previousFocus_) ? previousFocus_ : ::GetParent(window_));
    }
    hasFocus_ = take;
  }

  uintptr_t nativeHandle() const override { return reinterpret_cast<uintptr_t>(window_); }

 private:
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
      ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Window*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (self == nullptr) return ::DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      ::SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
      return ::DefWindowProcA(window, message, wParam, lParam);
    }
    // Nothing may leave through the system's frames: an escaping exception would end the host.
    try {
      if (self->handle(message, wParam, lParam)) return 0;
    } catch (...) {
      return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
  }

  // True when the message was handled here.
  bool handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint;
        ::BeginPaint(window_, &paint);
        frame_.invalidRect({static_cast<double>(paint.rcPaint.left), static_cast<double>(paint.rcPaint.top),
                            static_cast<double>(paint.rcPaint.right), static_cast<double>(paint.rcPaint.bottom)});
        ::EndPaint(window_, &paint);
        frame_.updateDirty();
        return true;
      }
      case WM_ERASEBKGND:
        // The frame covers every pixel; erasing first would only flicker.
        return true;
      case WM_TIMER:
        if (wParam != kTimerId) return false;
        CVSTGUITimer::pollAll();
        frame_.updateDirty();
        return true;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        press(PointOf(lParam), kLButton, message == WM_LBUTTONDBLCLK);
        return true;
      case WM_MBUTTONDOWN:
      case WM_MBUTTONDBLCLK:
        press(PointOf(lParam), kMButton, message == WM_MBUTTONDBLCLK);
        return true;
      case WM_RBUTTONDOWN:
      case WM_RBUTTONDBLCLK:
        press(PointOf(lParam), kRButton, message == WM_RBUTTONDBLCLK);
        return true;
      case WM_LBUTTONUP:
        release(PointOf(lParam), kLButton);
        return true;
      case WM_MBUTTONUP:
        release(PointOf(lParam), kMButton);
        return true;
      case WM_RBUTTONUP:
        release(PointOf(lParam), kRButton);
        return true;
      case WM_MOUSEMOVE:
        frame_.handleMouseMoved(PointOf(lParam), HeldButtonsOf(wParam));
        return true;
      case WM_MOUSEWHEEL: {
        // The position comes in screen coordinates.
        POINT where{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ::ScreenToClient(window_, &where);
        frame_.handleWheel({static_cast<double>(where.x), static_cast<double>(where.y)},
                           static_cast<float>(GET_WHEEL_DELTA_WPARAM(wParam) / kWheelNotch));
        return true;
      }
      case WM_KEYDOWN:
        for (const VirtualKeyOfCode& entry : kVirtualKeys) {
          if (entry.code == wParam) {
            KeyStroke key;
            key.key = entry.key;
            // A key that neither a text field nor the editor used goes on to the host's window.
            if (!frame_.onKeyDown(key)) ::SendMessageA(::GetParent(window_), message, wParam, lParam);
            return true;
          }
        }
        return false;
      case WM_CHAR:
        // Control characters arrived as virtual keys already; the text is in the ANSI code page.
        if (wParam >= 0x20 && wParam != 0x7F) {
          KeyStroke key;
          key.character = static_cast<unsigned char>(wParam);
          frame_.onKeyDown(key);
        }
        return true;
      default:
        return false;
    }
  }

  void press(CPoint where, int32_t button, bool doubleClick) {
    // The moves and the release go to this window even outside it, as a drag expects.
    ::SetCapture(window_);
    frame_.handleMouseDown(where, button | ModifiersNow() | (doubleClick ? kDoubleClick : 0));
  }

  void release(CPoint where, int32_t button) {
    if (::GetCapture() == window_) ::ReleaseCapture();
    frame_.handleMouseUp(where, button | ModifiersNow());
  }

  CFrame& frame_;
  HWND window_ = nullptr;
  bool hasFocus_ = false;
  HWND previousFocus_ = nullptr;
};

}  // namespace

std::string WindowFailureReason() { return "the host's window does not exist or takes no child window."; }

std::unique_ptr<PlatformWindow> CreatePlatformWindow(CFrame& frame, void* parentWindow) {
  auto window = std::make_unique<Win32Window>(frame);
  if (!window->create(static_cast<HWND>(parentWindow))) return nullptr;
  return window;
}

}  // namespace toolkit
