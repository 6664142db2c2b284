// Reads the records of a project text into the engine. Each reader scans every line for
// its own keyword, so records may stand in any order and other lines are skipped. Records
// that do not fit the model (a note without a holder, a pattern or holder out of range, an
// unknown resolution) are ignored: nothing outside the model's tables is written. A number
// is kept inside its control's range (0 to 1 for the knobs, -12 to +12 for the pitch).
// Any thread, under the state mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "engine/DrumEngine.h"

namespace persistence {

// Loads a sample file into the kit's holder of a note (recording its path); false when it fails.
using SampleFileLoader = std::function<bool(engine::Kit& kit, uint8_t note, const std::string& path)>;

// The version code of the text's second line, or format::kUnknownVersion.
int ReadVersionCode(std::string_view text);

// Applies each "vst1" record in turn; false when one holds an unknown mode word, which also
// ends the scan.
bool ReadTransportRecord(std::string_view text, engine::DrumEngine& engine);
// "seq1" records, and from version 2.0 on "vel1" and "seq2" records.
void ReadSequencerRecords(std::string_view text, int version, engine::PatternStore& patterns, engine::StepClock& clock);
// "smp2" records; old texts resolve their "smp1" base folder. Each holder loads one file, the
// one its last record naming a file names: earlier ones would only be replaced.
void ReadHolderRecords(std::string_view text, int version, engine::Kit& kit, const SampleFileLoader& loadSample);
// The sound mode: the last "snd1" record's, and Classic for a text without one.
void ReadSoundRecord(std::string_view text, int version, engine::Kit& kit);
// "chk1" records, from version 2.0 on; a group outside 0..4 is ignored.
void ReadChokeRecords(std::string_view text, int version, engine::Kit& kit);
// "syn1" records, from version 1.1 on.
void ReadKitPlayerRecord(std::string_view text, int version, engine::KitPlayer& kitPlayer);

}  // namespace persistence
