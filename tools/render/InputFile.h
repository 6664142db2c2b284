// Reading a whole input file (a state or a MIDI file) into memory.
#pragma once

#include <string>

namespace render {

// The file's bytes. description names the kind of file in the message ("state file"); throws
// Failure(InputUnreadable) "Cannot read the <description> <path>: <reason>".
std::string ReadInputFile(const std::string& path, const std::string& description);

}  // namespace render
