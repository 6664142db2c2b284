// Splitting and replacing in plain single-byte texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace persistence {

// The pieces between separators, empty ones included; the last piece ends at its first line
// feed. Never empty. The pieces point into text, which must outlive them.
std::vector<std::string_view> SplitText(std::string_view text, char separator);

// Replaces every exact, case-sensitive occurrence, scanning left to right and going on after
// each insertion. An empty from changes nothing.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);

}  // namespace persistence
