#include "persistence/ChunkLoad.h"

#include <cstring>
#include <string>

#include "persistence/ChunkFormat.h"
#include "persistence/Placeholders.h"
#include "persistence/Text.h"
#include "platform/Messages.h"

namespace persistence {

bool LoadChunk(const void* data, int32_t byteSize, std::string_view samplesFolder, engine::DrumEngine& engine,
               const std::function<void()>& resetAll, const SampleFileLoader& loadSample) {
  int version = format::kUnknownVersion;
  std::string text;
  LineList lines;
  if (data != nullptr && byteSize > 0) {
    // The host's block need not end with a NUL byte; its size bounds the text.
    const auto* bytes = static_cast<const char*>(data);
    text.assign(bytes, strnlen(bytes, static_cast<size_t>(byteSize)));
    ExpandSamplePlaceholder(text, samplesFolder);
    lines = SplitText(text, format::kLineEnd);
    version = ReadVersionCode(lines);
  }
  if (version == format::kUnknownVersion) {
    platform::ShowMessage(std::string(format::kRefusedCaption), std::string(format::kRefusedText));
    return false;
  }
  if (version != format::kVersion20) {
    platform::ShowMessage(std::string(format::kConversionCaption), std::string(format::kConversionText));
  }
  resetAll();
  ReadTransportRecord(lines, engine);
  ReadSequencerRecords(lines, version, engine.sequencer());
  ReadHolderRecords(lines, version, engine.kit(), loadSample);
  ReadKitPlayerRecord(lines, version, engine.kitPlayer());
  return true;
}

}  // namespace persistence
