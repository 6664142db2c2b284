// A voice over a stretch of frames: the sample's frames times the voice's gains, with the
// pitch's repeated or skipped frames, into separate left and right runs. The runs are formed
// with the widest vectors the processor offers; every width gives the same floats.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "engine/SampleBuffer.h"

namespace engine {

constexpr int8_t kMaxPitch = 12;

// 13 - |pitch| paces the repeated or skipped frames; no pitch, or one out of range, plays straight.
inline uint8_t PitchCountdown(int8_t pitch) {
  const int magnitude = std::abs(static_cast<int>(pitch));
  return magnitude >= 1 && magnitude <= kMaxPitch ? static_cast<uint8_t>(13 - magnitude) : 0;
}

struct VoiceGains {
  float left;
  float right;
  float release;
  float velocity;
  float master;
};

// Where a voice stands: read at a stretch's start and written back at its end.
struct VoiceCursor {
  uint32_t position;
  uint8_t countdown;
};

// What a voice plays: its array (or null), the frame it ends at and its pitch.
struct VoiceSource {
  const SampleBuffer* buffer;
  uint32_t end;
  int8_t pitch;
};

// count frames of the voice from cursor on; past the end of the array or of the voice every
// frame is silence. The cursor is left where the next stretch goes on.
void PlayVoice(const VoiceSource& source, VoiceCursor& cursor, float* left, float* right, uint32_t count,
               const VoiceGains& gains, float silence) noexcept;

// With false, the baseline (SSE2) runs are used even where wider vectors exist; the tests
// compare both widths with the frame-by-frame renderer.
void AllowWideVectors(bool allowed) noexcept;

}  // namespace engine
