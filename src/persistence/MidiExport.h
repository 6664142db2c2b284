// Patterns out as a Standard MIDI File, for a DAW to take in: format 1 with a single track at
// 960 ticks per quarter note. The track carries its name, the time signature (4/4) and the
// tempo at its start, then each pattern's bar with a marker naming the pattern at the bar's
// start and the steps as notes 36..47 on channel 10 at their velocities. A step's note ends
// where the holder's next step starts; swing delays the odd steps of holders that swing as the
// sequencer plays them, to the nearest tick.
#pragma once

#include <optional>
#include <string>

#include "engine/Kit.h"
#include "engine/PatternStore.h"

namespace persistence {

constexpr int kMidiTicksPerBeat = 960;
// The tempi a file carries (beats per minute); a session tempo beyond them is written at the
// nearer one. Without a session tempo a file is at the default.
constexpr double kLowestMidiTempo = 20.0;
constexpr double kHighestMidiTempo = 999.0;
constexpr double kDefaultMidiTempo = 120.0;

// The name of an export, given to its track and its file: the pattern's ("Oct2 C"), or
// "All patterns" without one.
std::string MidiExportName(std::optional<int> pattern);

// The file's bytes: the pattern in one bar, or without one all 24 patterns in order, a bar
// each (an empty pattern keeps its bar). A tempo that is not a positive number is not known.
std::string PatternsAsMidiFile(const engine::PatternStore& patterns, const engine::Kit& kit, std::optional<int> pattern,
                               double tempo);

}  // namespace persistence
