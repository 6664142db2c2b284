// The 24 one-bar patterns: each holder's step cells and each pattern's resolution, with the
// sequencer mode setting and the swing amount. Shared model: the user-interface thread is its
// only writer; the audio thread's step clock reads it at each block.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/Limits.h"
#include "engine/Relaxed.h"

namespace engine {

// The cell a set step holds: the step sounds (low byte) at full velocity (0x7F).
constexpr uint32_t kSoundingStepCell = 0x00017F01;
// A step's velocity, 1..127, is the cell's second byte. 0 there (cells that a project text's
// steps or an older editor set) plays at full velocity, as such steps always have.
constexpr int kFullVelocity = 127;

// A pattern's name as the pattern buttons show it: "Oct2 C" .. "Oct2 B" for patterns 0..11,
// "Oct3 C" .. "Oct3 B" for 12..23; empty for a pattern out of range.
std::string PatternName(int pattern);

class PatternStore {
 public:
  // swingAmount is the editor's swing amount: the one value that the swing control sets, a
  // project stores and loads, and every block hands to the timing.
  explicit PatternStore(Relaxed<float>& swingAmount);
  PatternStore(const PatternStore&) = delete;
  PatternStore& operator=(const PatternStore&) = delete;

  // Indices out of range are ignored: nothing outside the tables is ever touched.

  void reset();
  void setCell(uint32_t value, int pattern, int step, int holder);
  void clearCell(int pattern, int step, int holder);  // low byte only
  uint32_t getCell(int pattern, int step, int holder) const;
  bool cellSounds(int pattern, int step, int holder) const { return (getCell(pattern, step, holder) & 0xFF) != 0; }
  // The velocity a sounding step plays at (full for a cell outside the tables).
  int stepVelocity(int pattern, int step, int holder) const;
  // Clamped to 1..127; the step's sounding state is kept.
  void setStepVelocity(int velocity, int pattern, int step, int holder);
  void clearPattern(int pattern);
  void copyPattern(int from, int to);  // cells only, not the resolution

  // Accepts 16, 32, 64 and 128 steps per bar; other values are ignored.
  void setResolution(int pattern, int32_t resolution);
  int32_t resolution(int pattern) const;
  void setSequencerModeSetting(uint32_t value);
  uint32_t sequencerModeSetting() const { return sequencerModeSetting_; }
  // The editor's swing amount, as a loaded project sets it and a saved one stores it.
  void setSwingAmount(float amount) { swingAmount_ = amount; }
  float swingAmount() const { return swingAmount_; }
  // Counted up whenever a resolution or the sequencer mode changes: the clock computes its
  // timing again when the count differs from the one it last computed at.
  uint32_t timingChanges() const { return timingChanges_; }

  static bool validPattern(int pattern) { return pattern >= 0 && pattern < kPatternCount; }

 private:
  static bool validCell(int pattern, int step, int holder) {
    return validPattern(pattern) && step >= 0 && step < kMaxSteps && holder >= 0 && holder < kHolderCount;
  }

  Relaxed<float>& swingAmount_;
  Relaxed<uint32_t> timingChanges_{1};
  Relaxed<uint32_t> sequencerModeSetting_{0};
  std::array<Relaxed<int32_t>, kPatternCount> resolutions_{};
  std::array<std::array<std::array<Relaxed<uint32_t>, kHolderCount>, kMaxSteps>, kPatternCount> cells_{};
};

}  // namespace engine
