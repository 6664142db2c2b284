#include "persistence/ChunkLoad.h"

#include <cstring>
#include <string>

#include "persistence/ChunkFormat.h"
#include "persistence/Placeholders.h"
#include "platform/Messages.h"

namespace persistence {

bool LoadChunk(const void* data, int32_t byteSize, std::string_view samplesFolder, engine::DrumEngine& engine,
               const std::function<void()>& resetAll, const SampleFileLoader& loadSample) {
  int version = format::kUnknownVersion;
  std::string text;
  if (data != nullptr && byteSize > 0) {
    // The host's block need not end with a NUL byte; its size bounds the text.
    const auto* bytes = static_cast<const char*>(data);
    text.assign(bytes, strnlen(bytes, static_cast<size_t>(byteSize)));
    // The version line holds no placeholder; a refused text is not expanded at all.
    version = ReadVersionCode(text);
  }
  if (version == format::kUnknownVersion) {
    platform::ShowMessage(std::string(format::kRefusedCaption), std::string(format::kRefusedText));
    return false;
  }
  if (version != format::kVersion20) {
    platform::ShowMessage(std::string(format::kConversionCaption), std::string(format::kConversionText));
  }
  ExpandSamplePlaceholder(text, samplesFolder);
  resetAll();
  ReadTransportRecord(text, engine);
  ReadSequencerRecords(text, version, engine.sequencer());
  ReadHolderRecords(text, version, engine.kit(), loadSample);
  ReadKitPlayerRecord(text, version, engine.kitPlayer());
  return true;
}

}  // namespace persistence
