#include <windows.h>

#include "platform/Console.h"
#include "toolkit/MessageWindow.h"

namespace toolkit {
namespace {

class Win32MessageScreen : public MessageScreen {
 public:
  void show(const std::string& caption, const std::string& text) override {
    // Without an owner, on top of the host's windows; it blocks only the message thread.
    ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
  }
};

// False for a process without a desktop a user sees (a service, Wine without a display), and
// for a command-line program that asked for its messages on standard error.
bool WindowsCanBeShown() {
  if (platform::DisplayWithheld()) return false;
  USEROBJECTFLAGS flags{};
  if (!::GetUserObjectInformationA(::GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, nullptr) ||
      (flags.dwFlags & WSF_VISIBLE) == 0) {
    return false;
  }
  // A window station that shows nothing still lets windows be made; a missing display driver
  // refuses them.
  const HWND probe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  if (probe == nullptr) return false;
  ::DestroyWindow(probe);
  return true;
}

}  // namespace

std::unique_ptr<MessageScreen> OpenMessageScreen() {
  if (!WindowsCanBeShown()) return nullptr;
  return std::make_unique<Win32MessageScreen>();
}

}  // namespace toolkit
