// The engine's renderer as it was before blocks were rendered stretch by stretch: every
// holder through every gain one frame at a time, the clock ticked once per frame. The block
// renderer must give the same floats, bit for bit, and leave the same voice and clock state;
// the tests and the benchmarks run this copy beside it. It works on the engine's own state.
#pragma once

#include <cstdint>

#include "engine/DrumEngine.h"

namespace engine {

class ReferenceFrameLoop {
 public:
  // Stands in for DrumEngine::renderBlock.
  static void renderBlock(DrumEngine& engine, const HostTime& time, float* const* outputs, int32_t frames) noexcept;
  // The state that the clock keeps to itself.
  static int32_t nextStepIndex(const StepClock& clock) { return clock.nextStepIndex_; }

 private:
  static void prepareBlock(DrumEngine& engine, const HostTime& time, int32_t frames);
  static void schedule(const StepClock& clock, NoteEventQueue& queue, int32_t frames);
  static void advanceClock(StepClock& clock) noexcept;
  static void carryOut(DrumEngine& engine, NoteEvent event) noexcept;
  static void renderFrame(KitPlayer& player, float* const* outputs, int32_t frame) noexcept;
  static StereoFrame renderNote(KitPlayer& player, int holderIndex) noexcept;
  static StereoFrame holderFrame(SampleHolder& holder) noexcept;
  static void advanceVoice(SampleHolder& holder) noexcept;
};

}  // namespace engine
