// What a command-line program needs of the console it runs in.
#pragma once

#include <atomic>

namespace platform {

// True when standard error goes to a terminal (where a progress display makes sense).
bool StandardErrorIsTerminal();

// Keeps the modules this process loads from opening windows: a plug-in's messages then come to
// standard error instead of waiting in a message window for a click.
void WithoutDisplay();

// From now on the system's requests to end the program (an interrupt from the terminal, the
// terminal hanging up, a request to terminate) only raise StopRequested(), so that the program
// stops at its next step and cleans up behind itself.
void CatchStopRequests();
const std::atomic<bool>& StopRequested();

}  // namespace platform
