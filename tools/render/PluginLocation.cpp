#include "PluginLocation.h"

#include <vector>

#include "Failure.h"
#include "platform/Files.h"
#include "platform/Paths.h"

namespace render {

std::string FindPlugin() {
  constexpr char separator = platform::kPathSeparator;
  const std::string bundle = std::string("Kestrelhollow") + separator + "Kestrelhollow" + platform::kModuleSuffix;
  std::vector<std::string> candidates;
  if (const std::string folder = platform::ProgramDirectory(); !folder.empty()) {
    candidates.push_back(folder + ".." + separator + bundle);
  }
  if (const std::string home = platform::HomeFolder(); !home.empty()) {
    candidates.push_back(home + ".vst" + separator + bundle);
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
