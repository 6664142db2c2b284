// Reading a whole input file (a state or a MIDI file) into memory.
#pragma once

#include <cstdint>
#include <string>

namespace render {

// The most read from a state file (a project text, a .fxp or a .fxb) or a MIDI file: a real one
// is a few hundred kilobytes at most, and a larger one is refused before it is read whole.
constexpr uint64_t kLargestInputFileBytes = uint64_t{32} << 20;

// The bytes of a regular file of at most kLargestInputFileBytes. description names the kind
// of file in the message ("state file"); throws Failure(InputUnreadable) "Cannot read the
// <description> <path>: <reason>", for a file that is not a regular one (a device, a pipe,
// a folder) without opening it.
std::string ReadInputFile(const std::string& path, const std::string& description);

}  // namespace render
