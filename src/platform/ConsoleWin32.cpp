#include "platform/Console.h"

#include <windows.h>

namespace platform {

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// Windows has no process-wide switch for this: a module's message boxes fail by themselves where
// the process has no desktop (as under Wine without a display), and show otherwise.
void WithoutDisplay() {}

}  // namespace platform
