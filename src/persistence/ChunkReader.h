// Reads the records of a project text into the engine. Each reader scans every line for
// its own keyword, so records may stand in any order and other lines are skipped. Records
// that do not fit the model (a note without a holder, a pattern or holder out of range, an
// unknown resolution) are ignored: nothing outside the model's tables is written.
// User-interface thread, under the state mutex.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DrumEngine.h"

namespace persistence {

// The text's lines, pointing into the text.
using LineList = std::vector<std::string_view>;
// Loads a sample file into the kit's holder of a note (recording its path); false when it fails.
using SampleFileLoader = std::function<bool(engine::Kit& kit, uint8_t note, const std::string& path)>;

// The version code of the text's second line, or format::kUnknownVersion.
int ReadVersionCode(const LineList& lines);

// Applies each "vst1" record in turn; false when one holds an unknown mode word, which also
// ends the scan.
bool ReadTransportRecord(const LineList& lines, engine::DrumEngine& engine);
// "seq1" records, and from version 2.0 on "seq2" records.
void ReadSequencerRecords(const LineList& lines, int version, engine::StepSequencer& sequencer);
// "smp2" records, loading each named file; old texts resolve their "smp1" base folder.
void ReadHolderRecords(const LineList& lines, int version, engine::Kit& kit, const SampleFileLoader& loadSample);
// "syn1" records, from version 1.1 on.
void ReadKitPlayerRecord(const LineList& lines, int version, engine::KitPlayer& kitPlayer);

}  // namespace persistence
