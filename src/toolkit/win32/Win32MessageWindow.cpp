#include <windows.h>

#include "toolkit/MessageWindow.h"

namespace toolkit {

bool ShowMessageWindow(const std::string& caption, const std::string& text) {
  // Without an owner, on top of the host's windows, modal for the calling thread. Where no
  // window can be shown (no desktop) the box fails at once and the answer is not OK.
  return ::MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_TASKMODAL | MB_SETFOREGROUND) == IDOK;
}

}  // namespace toolkit
