#include "toolkit/win32/GdiSupport.h"

#include <windows.h>
#include <gdiplus.h>

namespace toolkit::gdi {

bool StartGdiPlus() {
  // Kept running until the process ends: shutting it down while the module unloads is not
  // allowed from DllMain, and other editors of the same module may still draw.
  static const bool started = [] {
    ULONG_PTR token = 0;
    const Gdiplus::GdiplusStartupInput input;
    return Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
  }();
  return started;
}

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

}  // namespace toolkit::gdi
