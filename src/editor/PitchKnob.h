// How the pitch knob shows a pitch of -12..12 semitones and which pitch a knob value sets.
// Bands are compared with double-precision bounds, so a shown value does not always map back to
// its own pitch (the single-precision 0.52 lies below 0.52 and sets 0).
#pragma once

#include <optional>

namespace editor {

// The knob value that shows the pitch; nothing for a pitch outside -12..12.
std::optional<float> PitchKnobValue(int pitch);
// The pitch a knob value sets; nothing for a value outside the bands (below 0, above 1, or the
// single-precision 0.04, which falls between the lowest two bands).
std::optional<int> PitchFromKnob(float value);

}  // namespace editor
