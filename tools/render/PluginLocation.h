// Where the host finds the Kestrelhollow plug-in when it is not told.
#pragma once

#include <string>

namespace render {

// The bundle built beside the running program (build/bin or build/bench next to
// build/Kestrelhollow), then the one installed in ~/.vst. Throws Failure(PluginUnusable)
// naming the places it looked.
std::string FindPlugin();

}  // namespace render
