// Pieces shared by the GDI+ drawing backend and the Win32 windows of the toolkit.
#pragma once

#include <string>

namespace toolkit::gdi {

// Starts GDI+ for this module once; every GDI+ call comes after it. False when it cannot start.
bool StartGdiPlus();

// Text of ours (narrow, in the ANSI code page) as the wide text GDI+ takes.
std::wstring Widen(const std::string& text);

}  // namespace toolkit::gdi
