// The default preset applied to every new effect: a program file below the plug-in directory
// whose chunk holds a project text.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace persistence {

// pluginDirectory + "presets" + separator + "kestrelhollowpreset1.fxp".
std::string DefaultPresetPath(std::string_view pluginDirectory);

// The project text inside a program file's content, ready for the chunk reader: from the
// version marker up to the end marker (or the end of the content when the marker is missing
// or stands before it), with a line feed before and after. Nothing without a version marker.
// The program file's own header is not interpreted.
std::optional<std::string> ExtractPresetText(std::string_view content);

}  // namespace persistence
