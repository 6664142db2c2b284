// The plug-in's samples folder inside the project text. The text never holds the folder
// itself but its placeholder, and below the placeholder a path always separates its parts
// with backslashes: a project saved on one computer (Windows or Linux) finds its factory
// samples on another, whatever folder the plug-in is installed in there.
#pragma once

#include <string>
#include <string_view>

namespace persistence {

// The plug-in directory's "samples" folder, with a trailing separator.
std::string SamplesFolder(std::string_view pluginDirectory);

// Every occurrence of the samples folder becomes the placeholder (exact, case-sensitive
// match anywhere in the text); the rest of each such field is given backslashes.
void InsertSamplePlaceholder(std::string& text, std::string_view samplesFolder);

// Every placeholder becomes the samples folder; the rest of each such field is given this
// platform's separator.
void ExpandSamplePlaceholder(std::string& text, std::string_view samplesFolder);

}  // namespace persistence
