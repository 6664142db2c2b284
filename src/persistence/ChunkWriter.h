// Writes the engine's state as the version 2.0 project text. Each writer appends its
// records, one line each, to out. Any thread, under the state mutex, so no load changes the
// model meanwhile; the editor's changes are read as they stand.
#pragma once

#include <string>
#include <string_view>

#include "engine/DrumEngine.h"

namespace persistence {

// One "smp2" record per holder, from the kit's first note to its last.
void WriteHolderRecords(const engine::Kit& kit, std::string& out);
// The holder records, then the "syn1" record.
void WriteKitPlayerRecords(const engine::KitPlayer& kitPlayer, std::string& out);
// A "seq1" record for each holder and pattern that differ from the default, each followed by
// its "vel1" record where a sounding step plays below full velocity; then "seq2".
void WriteSequencerRecords(const engine::PatternStore& patterns, const engine::StepClock& clock, std::string& out);
// The "vst1" record.
void WriteTransportRecord(engine::SyncMode mode, std::string& out);
// "snd1" for Tuned sound; nothing for Classic, which a text without the record means.
void WriteSoundRecord(engine::SoundMode mode, std::string& out);
// A "chk1" record for each holder in a choke group.
void WriteChokeRecords(const engine::Kit& kit, std::string& out);

// The whole text: header, records, padding and end marker, with the samples folder through
// its placeholder. Replaces what out held (its storage is reused).
void WriteChunkText(const engine::DrumEngine& engine, std::string_view samplesFolder, std::string& out);

}  // namespace persistence
