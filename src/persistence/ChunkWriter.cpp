#include "persistence/ChunkWriter.h"

#include "persistence/ChunkFormat.h"
#include "persistence/Numbers.h"
#include "persistence/Placeholders.h"

namespace persistence {
namespace {

void AppendField(std::string& out, std::string_view value) {
  out += value;
  out += format::kFieldSeparator;
}

void AppendFloatField(std::string& out, float value) { AppendField(out, FloatToText(value, format::kFloatDigits)); }

template <size_t N>
std::string_view WordFor(const std::string_view (&words)[N], size_t value) {
  // A value the model should never hold is written as the default word, never read past the table.
  return words[value < N ? value : 0];
}

// Only where a sounding step plays below full velocity.
void WriteVelocityRecord(const engine::PatternStore& patterns, int pattern, int holder, std::string& out) {
  bool belowFull = false;
  for (int step = 0; step < engine::kMaxSteps && !belowFull; ++step) {
    belowFull = patterns.cellSounds(pattern, step, holder) &&
                patterns.stepVelocity(pattern, step, holder) != engine::kFullVelocity;
  }
  if (!belowFull) return;
  AppendField(out, format::kVelocityRecord);
  AppendField(out, UIntToText(static_cast<uint64_t>(pattern)));
  AppendField(out, UIntToText(static_cast<uint64_t>(engine::kFirstNote + holder)));
  for (int step = 0; step < engine::kMaxSteps; ++step) {
    AppendField(out, UIntToText(static_cast<uint64_t>(patterns.stepVelocity(pattern, step, holder))));
  }
  out += format::kLineEnd;
}

}  // namespace

void WriteHolderRecords(const engine::Kit& kit, std::string& out) {
  for (int note = kit.firstNote(); note <= kit.lastNote(); ++note) {
    const engine::SampleHolder& holder = kit.holder(static_cast<uint8_t>(note));
    AppendField(out, format::kHolderRecord);
    AppendField(out, UIntToText(static_cast<uint64_t>(note)));
    AppendField(out, holder.name());
    AppendField(out, holder.path());
    AppendFloatField(out, holder.lengthFraction());
    AppendField(out, WordFor(format::kMuteWords, holder.muteState()));
    AppendField(out, IntToText(holder.pitch()));
    AppendFloatField(out, holder.volume());
    AppendFloatField(out, holder.pan());
    AppendField(out, holder.swing() ? format::kSwingWord : format::kNoSwingWord);
    out += format::kLineEnd;
  }
}

void WriteKitPlayerRecords(const engine::KitPlayer& kitPlayer, std::string& out) {
  WriteHolderRecords(kitPlayer.kit(), out);
  AppendField(out, format::kKitPlayerRecord);
  AppendFloatField(out, kitPlayer.masterLevel());
  AppendField(out, kitPlayer.downmix() ? format::kDownmixWord : format::kNoDownmixWord);
  out += format::kLineEnd;
}

void WriteSequencerRecords(const engine::PatternStore& patterns, const engine::StepClock& clock, std::string& out) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    for (int pattern = 0; pattern < engine::kPatternCount; ++pattern) {
      const int32_t resolution = patterns.resolution(pattern);
      bool sounds = false;
      for (int step = 0; step < engine::kMaxSteps && !sounds; ++step)
        sounds = patterns.cellSounds(pattern, step, holder);
      // Default pairs (resolution 16, no sounding cell) are left out.
      if (resolution == engine::kDefaultResolution && !sounds) continue;
      AppendField(out, format::kPatternRecord);
      AppendField(out, UIntToText(static_cast<uint64_t>(pattern)));
      AppendField(out, UIntToText(static_cast<uint64_t>(engine::kFirstNote + holder)));
      AppendField(out, UIntToText(static_cast<uint32_t>(resolution)));
      for (int step = 0; step < engine::kMaxSteps; ++step) {
        out += patterns.cellSounds(pattern, step, holder) ? '1' : '0';
        out += format::kFieldSeparator;
      }
      out += format::kLineEnd;
      WriteVelocityRecord(patterns, pattern, holder, out);
    }
  }
  AppendField(out, format::kSequencerRecord);
  AppendFloatField(out, patterns.swingAmount());
  AppendField(out, UIntToText(patterns.sequencerModeSetting()));
  AppendField(out, UIntToText(clock.currentPattern()));
  out += format::kLineEnd;
}

void WriteTransportRecord(engine::SyncMode mode, std::string& out) {
  AppendField(out, format::kTransportRecord);
  AppendField(out, WordFor(format::kSyncModeWords, static_cast<size_t>(mode)));
  out += format::kLineEnd;
}

void WriteSoundRecord(engine::SoundMode mode, std::string& out) {
  if (mode == engine::SoundMode::Classic) return;
  AppendField(out, format::kSoundRecord);
  AppendField(out, WordFor(format::kSoundModeWords, static_cast<size_t>(mode)));
  out += format::kLineEnd;
}

void WriteChokeRecords(const engine::Kit& kit, std::string& out) {
  for (int note = kit.firstNote(); note <= kit.lastNote(); ++note) {
    const int group = kit.holder(static_cast<uint8_t>(note)).chokeGroup();
    if (group == engine::kNoChokeGroup) continue;
    AppendField(out, format::kChokeRecord);
    AppendField(out, UIntToText(static_cast<uint64_t>(note)));
    AppendField(out, UIntToText(static_cast<uint64_t>(group)));
    out += format::kLineEnd;
  }
}

void WriteChunkText(const engine::DrumEngine& engine, std::string_view samplesFolder, std::string& out) {
  out.assign(format::kHeader);
  WriteKitPlayerRecords(engine.kitPlayer(), out);
  WriteSoundRecord(engine.kit().soundMode(), out);
  WriteChokeRecords(engine.kit(), out);
  WriteSequencerRecords(engine.patterns(), engine.clock(), out);
  WriteTransportRecord(engine.syncMode(), out);
  for (int line = 0; line < format::kPaddingLines; ++line) {
    out += format::kLineEnd;
    out.append(format::kPaddingWidth, '#');
  }
  out += format::kEndMarker;
  InsertSamplePlaceholder(out, samplesFolder);
}

}  // namespace persistence
