// How a kit sounds. Classic plays each sample at its file's rate and pitches it by repeating or
// skipping frames, as every project saved before the setting existed did; Tuned plays a copy of
// each sample prepared off the audio thread at the session's rate and the holder's pitch.
#pragma once

#include <cstdint>

namespace engine {

enum class SoundMode : uint8_t { Classic = 0, Tuned = 1 };

}  // namespace engine
