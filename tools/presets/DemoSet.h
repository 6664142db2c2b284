// The instrument state of the default preset: the factory kit with mixed levels and a set
// of demo patterns, written into a fresh engine.
#pragma once

#include <string_view>

#include "engine/DrumEngine.h"

namespace presets {

// Gives the engine's holders the factory kit below samplesFolder (the hi-hats in one choke
// group) and fills the patterns:
// a main groove in pattern 0, variations in 1, 2 and 4, a fill in 3 and a cowbell groove in 5.
void BuildDemoSet(engine::DrumEngine& engine, std::string_view samplesFolder);

}  // namespace presets
