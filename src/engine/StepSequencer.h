// The 24 one-bar patterns and the step clock that turns them into note events.
//
// Cells, resolutions and the current pattern are written by the user-interface thread and
// read by the audio thread at its next block; the timing tables and the clock belong to
// the audio thread.
#pragma once

#include <array>
#include <cstdint>

#include "engine/CommandQueue.h"
#include "engine/HostTime.h"
#include "engine/Limits.h"
#include "engine/NoteEventQueue.h"
#include "engine/Relaxed.h"

namespace engine {

class KitPlayer;

// The cell a set step holds: the step sounds (low byte) at full velocity (0x7F).
constexpr uint32_t kSoundingStepCell = 0x00017F01;

class StepSequencer {
  friend class ReferenceFrameLoop;  // the tests' frame-by-frame renderer

 public:
  // swingAmount is the editor's swing amount: the one value that the swing control sets, a
  // project stores and loads, and every block hands to the timing.
  StepSequencer(const KitPlayer& kitPlayer, CommandQueue& commands, Relaxed<float>& swingAmount);
  StepSequencer(const StepSequencer&) = delete;
  StepSequencer& operator=(const StepSequencer&) = delete;

  // User-interface thread. --------------------------------------------------------------
  // Indices out of range are ignored: nothing outside the tables is ever touched.

  void reset();
  void setCell(uint32_t value, int pattern, int step, int holder);
  void clearCell(int pattern, int step, int holder);  // low byte only
  uint32_t getCell(int pattern, int step, int holder) const;
  bool cellSounds(int pattern, int step, int holder) const { return (getCell(pattern, step, holder) & 0xFF) != 0; }
  void clearHolderSteps(int pattern, int holder);
  void clearPattern(int pattern);
  void clearCurrentPatternHolder(int holder) { clearHolderSteps(currentPattern_, holder); }
  void copyPattern(int from, int to);  // cells only, not the resolution

  // Accepts 16, 32, 64 and 128 steps per bar; other values are ignored.
  void setResolution(int pattern, int32_t resolution);
  int32_t resolution(int pattern) const;
  void setSequencerModeSetting(uint32_t value);
  uint32_t sequencerModeSetting() const { return sequencerModeSetting_; }
  // The editor's swing amount, as a loaded project sets it and a saved one stores it.
  void setSwingAmount(float amount) { swingAmount_ = amount; }
  float swingAmount() const { return swingAmount_; }
  void setCurrentPattern(uint8_t pattern);  // stores only; selectPattern places the step
  uint8_t currentPattern() const { return currentPattern_; }
  int32_t currentStep() const { return currentStep_; }
  int32_t barPosition() const { return barPosition_; }
  // The clock belongs to the audio thread: these take effect at its next block.
  // Back to the bar's first step (the editor's rewind).
  void rewind();
  // The pattern is current at once (it is saved); its step is placed from the bar position.
  void selectPattern(int pattern);

  // Audio thread. -----------------------------------------------------------------------

  void placeAtBarStart() noexcept;
  // Current pattern and its step placed from the bar position.
  void placePattern(int pattern) noexcept;

  void updateTiming(double sampleRate, double tempo, float swingAmount);
  void recompute();
  void locate();
  void schedule(NoteEventQueue& queue, int32_t frames) const;
  // The clock moved on by frames, each frame as one tick: at a step boundary the step
  // advances, at the bar's end both start again. Jumps from event to event.
  void advanceClockBy(int32_t frames) noexcept;

  // Block preparation: timing, bar position, current step and the block's step events.
  // Hsync follows the host's song position and plays while the host plays.
  void prepareHsyncBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames);
  // Run plays freely at the host tempo, whatever the transport does.
  void prepareRunBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames);

  bool timingComputed() const { return barLength_ > 0; }

 private:
  static bool validPattern(int pattern) { return pattern >= 0 && pattern < kPatternCount; }
  static bool validCell(int pattern, int step, int holder) {
    return validPattern(pattern) && step >= 0 && step < kMaxSteps && holder >= 0 && holder < kHolderCount;
  }
  bool swingFlag(int holder) const;

  const KitPlayer& kitPlayer_;
  CommandQueue& commands_;

  // Timing, audio thread.
  double sampleRate_ = 0.0;
  double tempo_ = 0.0;
  double samplesPerBeat_ = 0.0;
  Relaxed<double> samplesPerBar_{0.0};  // also read by selectPattern on the user-interface thread
  int32_t barLength_ = 0;
  float timingSwingAmount_ = 0.5f;
  std::array<bool, kHolderCount> swingSnapshot_{};
  // Counted up by the user-interface thread when a resolution or the sequencer mode changes;
  // the timing is recomputed when the count differs from the one it was last computed at.
  Relaxed<uint32_t> timingChanges_{1};
  uint32_t timingChangesComputed_ = 0;
  std::array<std::array<std::array<int32_t, kMaxSteps + 1>, kHolderCount>, kPatternCount> stepTimes_{};
  std::array<std::array<int32_t, kMaxSteps + 1>, kResolutionCount> stepBoundaries_{};

  // Clock: written by the audio thread, and by the user-interface thread on reset and rewind.
  Relaxed<int32_t> barPosition_{0};
  Relaxed<int32_t> currentStep_{0};
  int32_t nextStepIndex_ = 0;
  // Run mode remembers the tempo and resolution at which it last placed the bar.
  bool runMemorySet_ = false;
  double runTempo_ = 0.0;
  int32_t runResolution_ = 0;

  // Pattern store, user-interface thread.
  Relaxed<float>& swingAmount_;
  Relaxed<uint32_t> sequencerModeSetting_{0};
  Relaxed<uint8_t> currentPattern_{0};
  std::array<Relaxed<int32_t>, kPatternCount> resolutions_{};
  std::array<std::array<std::array<Relaxed<uint32_t>, kHolderCount>, kMaxSteps>, kPatternCount> cells_{};
};

}  // namespace engine
