#include "persistence/ChunkLoad.h"

#include <string>

#include "persistence/ChunkFormat.h"
#include "persistence/Placeholders.h"
#include "platform/Messages.h"

namespace persistence {
namespace {
constexpr std::string_view kDamagedText = "The data for Kestrelhollow in the project file is damaged: ";
constexpr std::string_view kStateKeptText = ". Nothing was loaded; the current state is kept.";
}  // namespace

std::string ChunkDamage(std::string_view block) {
  const size_t end = block.find('\0');
  if (end == std::string_view::npos || block.find_first_not_of('\0', end) == std::string_view::npos) return {};
  return "a NUL byte at byte " + std::to_string(end) + " cuts its text short";
}

bool LoadChunk(const void* data, int32_t byteSize, std::string_view samplesFolder, engine::DrumEngine& engine,
               const std::function<void()>& resetAll, const SampleFileLoader& loadSample) {
  int version = format::kUnknownVersion;
  std::string text;
  if (data != nullptr && byteSize > 0) {
    // The host's block need not end with a NUL byte; its size bounds the text.
    const std::string_view block(static_cast<const char*>(data), static_cast<size_t>(byteSize));
    if (const std::string damage = ChunkDamage(block); !damage.empty()) {
      platform::ShowMessage(std::string(format::kRefusedCaption),
                            std::string(kDamagedText) + damage + std::string(kStateKeptText));
      return false;
    }
    text.assign(block.substr(0, block.find('\0')));
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
  ReadSoundRecord(text, version, engine.kit());
  ReadSequencerRecords(text, version, engine.patterns(), engine.clock());
  ReadHolderRecords(text, version, engine.kit(), loadSample);
  ReadChokeRecords(text, version, engine.kit());
  ReadKitPlayerRecord(text, version, engine.kitPlayer());
  return true;
}

}  // namespace persistence
