// Reading a whole file in one go, for tests that compare what the code under test wrote.
#pragma once

#include <string>

namespace testhost {

// The whole file, or nothing when it cannot be read.
std::string ReadBytes(const std::string& path);

}  // namespace testhost
