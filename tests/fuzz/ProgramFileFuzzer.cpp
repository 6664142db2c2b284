// Program and bank files from anywhere: the parser either refuses them with a reason or finds
// a chunk, which the effect then loads; a parsed file is written and parsed back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "FuzzEffect.h"
#include "persistence/ProgramFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::unique_ptr<plugin::Vst> effect = fuzz::MakeEffect(nullptr);
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::string error;
  const std::optional<persistence::ProgramFile> file = persistence::ParseProgramFile(bytes, &error);
  if (!file) {
    if (error.empty()) std::abort();  // a refusal always says why
    return 0;
  }
  const std::optional<persistence::ProgramFile> again =
      persistence::ParseProgramFile(persistence::WriteProgramFile(*file), nullptr);
  if (!again || again->chunk != file->chunk || again->isBank != file->isBank || again->fxId != file->fxId) {
    std::abort();
  }
  if (file->chunk.size() <= static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    std::string chunk = file->chunk;
    effect->setChunk(chunk.data(), static_cast<int32_t>(chunk.size()), !file->isBank);
  }
  return 0;
}
