// What the audio engine tells the editor, and the swing amount the editor hands back.
// Single-byte flags and a float, written and read across threads without a lock.
#pragma once

#include "engine/Relaxed.h"

namespace engine {

struct EditorState {
  // The editor redraws the step position, step group and pattern when these are set.
  Relaxed<bool> positionChanged{true};
  Relaxed<bool> groupChanged{false};
  Relaxed<bool> patternChanged{false};
  Relaxed<bool> positionHidden{false};
  // The swing amount: set by the swing control and by a loaded project, saved with the
  // project (the sequencer's swingAmount() is this value), read by the timing every block.
  Relaxed<float> swingAmount{0.5f};
};

}  // namespace engine
