// The step clock: plays the current pattern of the pattern store, turning its steps into note
// events block by block. Its state (the timing tables, the bar position, the current step and
// the pattern it plays) belongs to the audio thread, its only writer. The user-interface thread
// reads it, and asks for a rewind or another pattern, which the clock carries out at its next
// block.
#pragma once

#include <array>
#include <cstdint>

#include "engine/CommandQueue.h"
#include "engine/Handover.h"
#include "engine/HostTime.h"
#include "engine/Limits.h"
#include "engine/NoteEventQueue.h"
#include "engine/PatternStore.h"
#include "engine/Relaxed.h"

namespace engine {

class KitPlayer;

// Where a step of a bar of `steps` steps starts (step == steps: the bar's end), in units of
// which a beat holds unitsPerBeat: frames for the clock, ticks for a MIDI file. A holder that
// swings delays its odd steps by the swing amount (0..1) of a step, the last one by at most a
// unit less than the bar.
double StepStart(int step, int32_t steps, bool swung, double swingAmount, double unitsPerBeat);

class StepClock {
  friend class ReferenceFrameLoop;  // the tests' frame-by-frame renderer

 public:
  StepClock(const PatternStore& patterns, const KitPlayer& kitPlayer, CommandQueue& commands);
  StepClock(const StepClock&) = delete;
  StepClock& operator=(const StepClock&) = delete;

  // User-interface thread. --------------------------------------------------------------

  // Back to the bar's first step (the editor's rewind).
  void rewind();
  // The pattern becomes current, its step placed from the bar position. Out of range: ignored.
  void selectPattern(int pattern);
  // Pattern 0, at the bar's first step.
  void reset();
  // The pattern selected and not yet taken up, else the one playing. Any thread.
  uint8_t currentPattern() const;
  int32_t currentStep() const { return currentStep_; }
  int32_t barPosition() const { return barPosition_; }

  // Audio thread. -----------------------------------------------------------------------

  void placeAtBarStart() noexcept;
  // Takes up the pattern the user-interface thread selected last, if it has not yet.
  void takeSelection() noexcept;
  // Current pattern and its step placed from the bar position.
  void placePattern(int pattern) noexcept;
  // The clock moved on by frames, each frame as one tick: at a step boundary the step
  // advances, at the bar's end both start again. Jumps from event to event.
  void advanceClockBy(int32_t frames) noexcept;

  // Block preparation: timing, bar position, current step and the block's step events.
  // Hsync follows the host's song position and plays while the host plays.
  void prepareHsyncBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames);
  // Run plays freely at the host tempo, whatever the transport does.
  void prepareRunBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames);

 private:
  void updateTiming(double sampleRate, double tempo, float swingAmount);
  void recompute();
  void locate();
  void schedule(NoteEventQueue& queue, int32_t frames) const;
  bool timingComputed() const { return barLength_ > 0; }
  bool swingFlag(int holder) const;
  int32_t playingResolution() const { return patterns_.resolution(pattern_); }

  const PatternStore& patterns_;
  const KitPlayer& kitPlayer_;
  CommandQueue& commands_;

  // Timing.
  double sampleRate_ = 0.0;
  double tempo_ = 0.0;
  double samplesPerBeat_ = 0.0;
  double samplesPerBar_ = 0.0;
  int32_t barLength_ = 0;
  float timingSwingAmount_ = 0.5f;
  std::array<bool, kHolderCount> swingSnapshot_{};
  uint32_t timingChangesComputed_ = 0;
  std::array<std::array<std::array<int32_t, kMaxSteps + 1>, kHolderCount>, kPatternCount> stepTimes_{};
  std::array<std::array<int32_t, kMaxSteps + 1>, kResolutionCount> stepBoundaries_{};

  // Clock, read by the user-interface thread.
  Relaxed<int32_t> barPosition_{0};
  Relaxed<int32_t> currentStep_{0};
  Relaxed<uint8_t> pattern_{0};
  // The pattern the user-interface thread selected last.
  Handover<uint8_t> selection_;
  int32_t nextStepIndex_ = 0;
  // Run mode remembers the tempo and resolution at which it last placed the bar.
  bool runMemorySet_ = false;
  double runTempo_ = 0.0;
  int32_t runResolution_ = 0;
};

}  // namespace engine
