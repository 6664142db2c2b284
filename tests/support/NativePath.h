// Tests write paths with '/'; the plug-in builds them with this platform's separator.
#pragma once

#include <algorithm>
#include <string>

#include "platform/Paths.h"

namespace testhost {

inline std::string NativePath(std::string path) {
  std::replace(path.begin(), path.end(), '/', platform::kPathSeparator);
  return path;
}

}  // namespace testhost
