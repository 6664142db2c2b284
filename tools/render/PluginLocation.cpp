#include "PluginLocation.h"

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <vector>

#include "Failure.h"
#include "platform/Files.h"

namespace render {

std::string FindPlugin() {
  std::vector<std::string> candidates;
  char executable[PATH_MAX] = {};
  if (const ssize_t length = readlink("/proc/self/exe", executable, sizeof executable - 1); length > 0) {
    std::string folder(executable, static_cast<size_t>(length));
    folder.resize(folder.find_last_of('/') + 1);
    candidates.push_back(folder + "../Kestrelhollow/Kestrelhollow.so");
  }
  if (const char* home = std::getenv("HOME")) {
    candidates.push_back(std::string(home) + "/.vst/Kestrelhollow/Kestrelhollow.so");
  }
  std::string tried;
  for (const std::string& candidate : candidates) {
    if (platform::FileExists(candidate)) return candidate;
    tried += "\n  " + candidate;
  }
  throw Failure(ExitCode::PluginUnusable,
                "No Kestrelhollow plug-in found; give one with --plugin. Looked for:" + tried);
}

}  // namespace render
