// Path conventions: folders are held with a trailing separator.
#pragma once

#include <string>

namespace platform {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// The folder of the plug-in's own module file, ending with the separator. Found from the
// module that contains this code, so it never names the host program's folder.
std::string PluginDirectory();

}  // namespace platform
