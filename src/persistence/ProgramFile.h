// VST 2.x program (.fxp) and bank (.fxb) files in chunk form: the one place that reads and
// writes them, for the preset generator and the command-line host alike.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace persistence {

struct ProgramFile {
  bool isBank = false;
  int32_t fxId = 0;
  int32_t fxVersion = 1;
  std::string programName;  // programs only; at most 27 characters are kept
  std::string chunk;        // the opaque chunk bytes
};

// Reads a program or bank in chunk form. On failure returns nothing and says why in error.
std::optional<ProgramFile> ParseProgramFile(std::string_view bytes, std::string* error);
// The file's bytes: a program (.fxp) or, with isBank, a bank (.fxb, version 1).
std::string WriteProgramFile(const ProgramFile& file);

}  // namespace persistence
