// What a command-line program needs of the console it runs in.
#pragma once

namespace platform {

// True when standard error goes to a terminal (where a progress display makes sense).
bool StandardErrorIsTerminal();

// Keeps the modules this process loads from opening windows: a plug-in's messages then come to
// standard error instead of waiting in a message window for a click.
void WithoutDisplay();

}  // namespace platform
