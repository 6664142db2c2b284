// The configuration file below the plug-in directory: the editor's size factor, the only
// setting kept outside projects.
#pragma once

#include <string>

namespace persistence {

constexpr float kDefaultEditorScale = 1.0f;

// The size factor the file holds on its first line; 1.0 when the file is missing, empty or
// holds no number, or when the value is 0.25 or less or above 1.0.
float ReadEditorScale(const std::string& configurationFile);
// Creates or empties the file and writes the factor with two significant digits, without a
// line feed; false when the file cannot be written.
bool WriteEditorScale(const std::string& configurationFile, float scale);

}  // namespace persistence
