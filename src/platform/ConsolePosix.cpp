#include "platform/Console.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace platform {
namespace {

std::atomic<bool> stopRequested{false};

void RequestStop(int /*signal*/) { stopRequested = true; }

}  // namespace

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void WithoutDisplay() { ::unsetenv("DISPLAY"); }

bool DisplayWithheld() { return std::getenv("DISPLAY") == nullptr; }

void CatchStopRequests() {
  struct sigaction action {};
  action.sa_handler = RequestStop;
  sigemptyset(&action.sa_mask);
  for (const int request : {SIGINT, SIGTERM, SIGHUP}) sigaction(request, &action, nullptr);
}

const std::atomic<bool>& StopRequested() { return stopRequested; }

}  // namespace platform
