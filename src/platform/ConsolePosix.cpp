#include "platform/Console.h"

#include <unistd.h>

#include <cstdlib>

namespace platform {

bool StandardErrorIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void WithoutDisplay() { ::unsetenv("DISPLAY"); }

}  // namespace platform
