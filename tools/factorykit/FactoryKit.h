// The factory kit: one generated sound per holder, in holder order (notes 36..47), laid out
// so that General MIDI drum parts land on sensible sounds.
#pragma once

#include "engine/Limits.h"

namespace factorykit {

// File names below the bundle's "samples/Factory/" folder.
constexpr const char* kFileNames[engine::kHolderCount] = {
    "Kick.wav",       // C   36
    "Rimshot.wav",    // C#  37
    "Snare.wav",      // D   38
    "Clap.wav",       // D#  39
    "Shaker.wav",     // E   40
    "LowTom.wav",     // F   41
    "ClosedHat.wav",  // F#  42
    "MidTom.wav",     // G   43
    "Cowbell.wav",    // G#  44
    "HighTom.wav",    // A   45
    "OpenHat.wav",    // A#  46
    "Crash.wav",      // B   47
};

// Holder names shown in the editor.
constexpr const char* kSoundNames[engine::kHolderCount] = {
    "Kick",       "Rimshot", "Snare",   "Clap",     "Shaker",   "Low Tom",
    "Closed Hat", "Mid Tom", "Cowbell", "High Tom", "Open Hat", "Crash",
};

constexpr const char* kFolder = "Factory";

}  // namespace factorykit
