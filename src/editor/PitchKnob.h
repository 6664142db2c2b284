// How the pitch knob shows a pitch of -12..12 semitones and which pitch a knob value sets.
// Every shown value sets its own pitch again, so touching the knob never changes the pitch.
#pragma once

#include <optional>

namespace editor {

// The knob value that shows the pitch; nothing for a pitch outside -12..12.
std::optional<float> PitchKnobValue(int pitch);
// The pitch a knob value sets; nothing for a value below 0 or above 1.
std::optional<int> PitchFromKnob(float value);

}  // namespace editor
