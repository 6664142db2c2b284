// Path conventions: folders are held with a trailing separator.
#pragma once

#include <string>

namespace platform {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
constexpr const char* kModuleSuffix = ".dll";
#else
constexpr char kPathSeparator = '/';
// The ending of a plug-in module's file name.
constexpr const char* kModuleSuffix = ".so";
#endif

// The folder of the plug-in's own module file, ending with the separator. Found from the
// module that contains this code, so it never names the host program's folder.
std::string PluginDirectory();
// The folder of the running program's file, ending with the separator; empty when unknown.
std::string ProgramDirectory();
// The user's home folder, ending with the separator; empty when there is none.
std::string HomeFolder();
// The folder where the user keeps documents, ending with the separator: the system's
// documents folder, else the home folder; empty when there is neither.
std::string DocumentsFolder();

}  // namespace platform
