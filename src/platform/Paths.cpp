#include "platform/Paths.h"

#include <dlfcn.h>

namespace platform {

std::string PluginDirectory() {
  Dl_info info{};
  // Any address inside this module names the module's file.
  if (dladdr(reinterpret_cast<const void*>(&PluginDirectory), &info) == 0 || info.dli_fname == nullptr) return {};
  std::string path = info.dli_fname;
  const auto cut = path.find_last_of(kPathSeparator);
  return cut == std::string::npos ? std::string(1, '.') + kPathSeparator : path.substr(0, cut + 1);
}

}  // namespace platform
