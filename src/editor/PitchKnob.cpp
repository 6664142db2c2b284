#include "editor/PitchKnob.h"

namespace editor {
namespace {

constexpr double kBandWidth = 0.04;
constexpr int kMaxPitch = 12;

}  // namespace

std::optional<float> PitchKnobValue(int pitch) {
  if (pitch < -kMaxPitch || pitch > kMaxPitch) return std::nullopt;
  if (pitch == 0) return 0.5f;
  return static_cast<float>((pitch + kMaxPitch) * kBandWidth);
}

std::optional<int> PitchFromKnob(float value) {
  const double v = value;
  if (v >= 0.0 && v < static_cast<double>(static_cast<float>(kBandWidth))) return -kMaxPitch;
  for (int band = 1; band <= 2 * kMaxPitch - 1; ++band) {
    if (v >= kBandWidth * band && v < kBandWidth * (band + 1)) return band - kMaxPitch;
  }
  if (v >= kBandWidth * 2 * kMaxPitch && v <= 1.0) return kMaxPitch;
  return std::nullopt;
}

}  // namespace editor
