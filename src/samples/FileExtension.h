// File types are told apart by their extension, compared in upper case.
#pragma once

#include <string>

namespace samples {

// The part of the path after its last full stop with the ASCII letters a to z upper-cased;
// empty when the path holds no full stop (the last one may lie in a folder name).
std::string UpperCaseExtension(const std::string& path);

}  // namespace samples
