#include "editor/PitchKnob.h"

namespace editor {
namespace {

constexpr double kBandWidth = 0.04;
constexpr int kMaxPitch = 12;

// The knob's values are single precision, so the band bounds are too: band k starts at the very
// value that shows pitch k - 12. Double bounds would put the single-precision 0.96 (pitch 12)
// into the band below it.
float BandStart(int band) { return static_cast<float>(kBandWidth * band); }

}  // namespace

std::optional<float> PitchKnobValue(int pitch) {
  if (pitch < -kMaxPitch || pitch > kMaxPitch) return std::nullopt;
  if (pitch == 0) return 0.5f;
  return BandStart(pitch + kMaxPitch);
}

std::optional<int> PitchFromKnob(float value) {
  if (!(value >= 0.0f && value <= 1.0f)) return std::nullopt;
  int band = 2 * kMaxPitch;
  while (band > 0 && value < BandStart(band)) --band;
  return band - kMaxPitch;
}

}  // namespace editor
