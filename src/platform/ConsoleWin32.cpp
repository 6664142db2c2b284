#include "platform/Console.h"

#include <windows.h>

namespace platform {
namespace {

std::atomic<bool> stopRequested{false};

constexpr const char* kWithoutDisplayVariable = "KESTRELHOLLOW_WITHOUT_DISPLAY";

// Runs on a thread the system starts for the event. Other events (the console closing, the user
// logging off) end the program as before.
BOOL WINAPI RequestStop(DWORD event) {
  switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
      stopRequested = true;
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

// Windows has no process-wide switch for this; the process's environment, which every module
// shares, carries one.
void WithoutDisplay() { ::SetEnvironmentVariableA(kWithoutDisplayVariable, "1"); }

bool DisplayWithheld() { return ::GetEnvironmentVariableA(kWithoutDisplayVariable, nullptr, 0) > 0; }

void CatchStopRequests() { ::SetConsoleCtrlHandler(RequestStop, TRUE); }

const std::atomic<bool>& StopRequested() { return stopRequested; }

}  // namespace platform
