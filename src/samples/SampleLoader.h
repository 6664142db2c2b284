// Turns an audio file into a holder's sample: the only way a file becomes sample data.
#pragma once

#include <cstdint>
#include <string>

#include "engine/Kit.h"
#include "engine/SampleHolder.h"

namespace samples {

// Loads the file into the holder of the note with the holder's current name; with audition
// the holder's preview starts. False (and nothing touched) for a note of 128 or more.
// User-interface thread (or the host thread restoring a project), never the audio thread.
bool LoadSample(engine::Kit& kit, uint8_t note, std::string path, bool audition);

// Loads the file into one holder; path and name are recorded first, so a project saved after
// a failed load still names the file that failed. A path that a project cannot store is refused
// before anything is recorded. Failures are shown with their message.
bool LoadFile(engine::SampleHolder& holder, std::string name, std::string path, bool audition);

}  // namespace samples
