#include "persistence/ChunkReader.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

#include "persistence/ChunkFormat.h"
#include "persistence/Numbers.h"
#include "persistence/Text.h"
#include "platform/Files.h"

namespace persistence {
namespace {

using Fields = std::vector<std::string_view>;

// A pattern record of version 2.0 is the longest: keyword, pattern, note, resolution and the
// steps. Fields beyond are never read, so they are not split off.
constexpr size_t kMaxFields = 4 + engine::kMaxSteps;

// A missing Field reads as an empty one.
std::string_view Field(const Fields& fields, size_t index) { return index < fields.size() ? fields[index] : ""; }

// The fields of a record with this keyword; empty for any other line.
Fields RecordFields(std::string_view line, std::string_view keyword) {
  if (line.substr(0, line.find(format::kFieldSeparator)) != keyword) return {};
  return SplitText(line, format::kFieldSeparator, kMaxFields);
}

constexpr int kMaxPitch = 12;  // semitones, up or down

// A knob's value, inside the knob's range 0..1.
float KnobValue(std::string_view text) { return std::clamp(ReadFloat(text), 0.0f, 1.0f); }

template <size_t N>
int WordIndex(const std::string_view (&words)[N], std::string_view word) {
  const auto found = std::find(std::begin(words), std::end(words), word);
  return found == std::end(words) ? -1 : static_cast<int>(found - std::begin(words));
}

// The pattern and holder (from its note) that a pattern or velocity record names, if the model has both.
std::optional<std::pair<int, int>> RecordPatternAndHolder(const Fields& fields) {
  const auto pattern = static_cast<uint8_t>(ReadInteger(Field(fields, 1)));
  const auto holder = static_cast<uint8_t>(ReadInteger(Field(fields, 2)) - engine::kFirstNote);
  if (pattern >= engine::kPatternCount || holder >= engine::kHolderCount) return std::nullopt;
  return std::pair{int{pattern}, int{holder}};
}

void ReadPatternRecord(const Fields& fields, int version, engine::PatternStore& patterns) {
  const auto named = RecordPatternAndHolder(fields);
  if (!named) return;
  const auto [pattern, holder] = *named;
  size_t firstStepField = 3;
  int steps = format::kOldStepCount;
  if (version >= format::kVersion20) {
    const auto resolution = static_cast<int32_t>(ReadInteger(Field(fields, 3)));
    if (engine::ResolutionIndex(resolution) < 0) return;
    patterns.setResolution(pattern, resolution);
    firstStepField = 4;
    steps = engine::kMaxSteps;
  }
  for (int step = 0; step < steps; ++step) {
    const uint32_t lowByte = Field(fields, firstStepField + static_cast<size_t>(step)) == format::kSoundingStep ? 1 : 0;
    patterns.setCell((patterns.getCell(pattern, step, holder) & ~0xFFU) | lowByte, pattern, step, holder);
  }
}

// Each step Field holding 1..127 sets that step's velocity; any other leaves the step as it was.
void ReadVelocityRecord(const Fields& fields, engine::PatternStore& patterns) {
  const auto named = RecordPatternAndHolder(fields);
  if (!named) return;
  const auto [pattern, holder] = *named;
  for (int step = 0; step < engine::kMaxSteps; ++step) {
    const uint64_t velocity = ReadInteger(Field(fields, 3 + static_cast<size_t>(step)));
    if (velocity >= 1 && velocity <= engine::kFullVelocity) {
      patterns.setStepVelocity(static_cast<int>(velocity), pattern, step, holder);
    }
  }
}

// The folder that an old text's "\$SAMPLE_BASE_DIR$\" stands for; the last "smp1" record wins.
std::string ReadBaseFolder(std::string_view text) {
  std::string baseFolder;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kBaseFolderRecord);
    if (fields.empty()) continue;
    const std::string_view named = Field(fields, 1);
    const std::string rest(named.substr(std::min(named.size(), format::kBaseFolderPrefixLength)));
    const bool usable = named != format::kBaseDirPlaceholder && platform::DirectoryExists(rest);
    baseFolder = usable ? rest : std::string();
  }
  return baseFolder;
}

// The record's note, or -1 for a note outside the kit.
int RecordNote(const Fields& fields, const engine::Kit& kit) {
  const auto note = static_cast<uint8_t>(ReadInteger(Field(fields, 1)));
  return note < kit.firstNote() || note > kit.lastNote() ? -1 : note;
}

void ReadHolderRecord(const Fields& fields, uint8_t note, int version, const std::string& baseFolder, bool loads,
                      engine::Kit& kit, const SampleFileLoader& loadSample) {
  engine::SampleHolder& holder = kit.holder(note);
  holder.setName(std::string(Field(fields, 2)));
  if (loads) {
    std::string path(Field(fields, 3));
    if (version < format::kVersion20 && !baseFolder.empty()) ReplaceAll(path, format::kBaseDirPlaceholder, baseFolder);
    loadSample(kit, note, path);
  }
  holder.setLengthFraction(KnobValue(Field(fields, 4)));
  if (const int mute = WordIndex(format::kMuteWords, Field(fields, 5)); mute >= 0) {
    holder.setMuteState(static_cast<uint32_t>(mute));
  }
  const auto pitch = static_cast<int8_t>(ReadInteger(Field(fields, 6)));
  holder.setPitch(static_cast<int8_t>(std::clamp<int>(pitch, -kMaxPitch, kMaxPitch)));
  if (version > format::kVersion10) holder.setVolume(KnobValue(Field(fields, 7)));
  if (version >= format::kVersion20) {
    holder.setPan(KnobValue(Field(fields, 8)));
    holder.setSwing(Field(fields, 9) == format::kSwingWord);
  }
}

}  // namespace

int ReadVersionCode(std::string_view text) {
  Lines lines(text);
  auto line = lines.begin();
  if (line == lines.end() || ++line == lines.end()) return format::kUnknownVersion;
  const std::string_view versionLine = *line;
  if (versionLine == format::kVersionLine10) return format::kVersion10;
  if (versionLine == format::kVersionLine11) return format::kVersion11;
  if (versionLine == format::kVersionLine20) return format::kVersion20;
  return format::kUnknownVersion;
}

bool ReadTransportRecord(std::string_view text, engine::DrumEngine& engine) {
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kTransportRecord);
    if (fields.empty()) continue;
    const int mode = WordIndex(format::kSyncModeWords, Field(fields, 1));
    if (mode < 0) return false;
    const auto syncMode = static_cast<engine::SyncMode>(mode);
    engine.setSyncMode(syncMode);
    // Stop keeps the mode the clock last ran in.
    if (syncMode != engine::SyncMode::Stop) engine.setLastMode(syncMode);
  }
  return true;
}

void ReadSequencerRecords(std::string_view text, int version, engine::PatternStore& patterns,
                          engine::StepClock& clock) {
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kPatternRecord);
    if (!fields.empty()) ReadPatternRecord(fields, version, patterns);
  }
  if (version < format::kVersion20) return;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kVelocityRecord);
    if (!fields.empty()) ReadVelocityRecord(fields, patterns);
  }
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kSequencerRecord);
    if (fields.empty()) continue;
    patterns.setSwingAmount(KnobValue(Field(fields, 1)));
    patterns.setSequencerModeSetting(static_cast<uint32_t>(ReadInteger(Field(fields, 2))));
    clock.selectPattern(static_cast<uint8_t>(ReadInteger(Field(fields, 3))));
  }
}

void ReadHolderRecords(std::string_view text, int version, engine::Kit& kit, const SampleFileLoader& loadSample) {
  const std::string baseFolder = version < format::kVersion20 ? ReadBaseFolder(text) : std::string();
  // Records are counted in order; per note, the number of the last one that names a file.
  std::array<size_t, engine::kNoteCount> loadingRecord{};
  size_t record = 0;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kHolderRecord);
    if (fields.empty()) continue;
    ++record;
    if (const int note = RecordNote(fields, kit); note >= 0 && !Field(fields, 3).empty()) {
      loadingRecord[static_cast<size_t>(note)] = record;
    }
  }
  record = 0;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kHolderRecord);
    if (fields.empty()) continue;
    ++record;
    if (const int note = RecordNote(fields, kit); note >= 0) {
      const bool loads = loadingRecord[static_cast<size_t>(note)] == record;
      ReadHolderRecord(fields, static_cast<uint8_t>(note), version, baseFolder, loads, kit, loadSample);
    }
  }
}

void ReadKitPlayerRecord(std::string_view text, int version, engine::KitPlayer& kitPlayer) {
  if (version <= format::kVersion10) return;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kKitPlayerRecord);
    if (fields.empty()) continue;
    kitPlayer.setMasterLevel(KnobValue(Field(fields, 1)));
    if (version >= format::kVersion20) kitPlayer.setDownmix(Field(fields, 2) == format::kDownmixWord);
  }
}

void ReadSoundRecord(std::string_view text, int version, engine::Kit& kit) {
  engine::SoundMode mode = engine::SoundMode::Classic;
  if (version >= format::kVersion20) {
    for (std::string_view line : Lines(text)) {
      const Fields fields = RecordFields(line, format::kSoundRecord);
      if (fields.empty()) continue;
      // A word this version does not know leaves the mode as it was.
      if (const int word = WordIndex(format::kSoundModeWords, Field(fields, 1)); word >= 0) {
        mode = static_cast<engine::SoundMode>(word);
      }
    }
  }
  kit.setSoundMode(mode);
}

void ReadChokeRecords(std::string_view text, int version, engine::Kit& kit) {
  if (version < format::kVersion20) return;
  for (std::string_view line : Lines(text)) {
    const Fields fields = RecordFields(line, format::kChokeRecord);
    if (fields.empty()) continue;
    const int note = RecordNote(fields, kit);
    const uint64_t group = ReadInteger(Field(fields, 2));
    if (note >= 0 && group <= engine::kChokeGroupCount) {
      kit.holder(static_cast<uint8_t>(note)).setChokeGroup(static_cast<int>(group));
    }
  }
}

}  // namespace persistence
