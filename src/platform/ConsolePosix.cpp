#include "platform/Console.h"

#include <unistd.h>

#include <csignal>
#include <cstdlib>

namespace platform {
namespace {

std::atomic<bool> stopRequested{false};

void requestStop(int /*signal*/) { stopRequested = true; }

}  // namespace

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void WithoutDisplay() { ::unsetenv("DISPLAY"); }

void CatchStopRequests() {
  struct sigaction action {};
  action.sa_handler = requestStop;
  sigemptyset(&action.sa_mask);
  for (const int request : {SIGINT, SIGTERM, SIGHUP}) sigaction(request, &action, nullptr);
}

const std::atomic<bool>& StopRequested() { return stopRequested; }

}  // namespace platform
