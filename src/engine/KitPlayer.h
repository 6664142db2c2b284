// The kit plus the voice state of each note: triggers, velocity and release.
#pragma once

#include <array>
#include <cstdint>

#include "engine/Kit.h"
#include "engine/Limits.h"
#include "engine/Relaxed.h"

namespace engine {

class KitPlayer {
  friend class ReferenceFrameLoop;  // the tests' frame-by-frame renderer

 public:
  KitPlayer();
  KitPlayer(const KitPlayer&) = delete;
  KitPlayer& operator=(const KitPlayer&) = delete;

  Kit& kit() { return kit_; }
  const Kit& kit() const { return kit_; }

  // User-interface thread: master level 0.75, no downmix; the voices fall silent at the next block.
  void reset();
  void setMasterLevel(float level) { masterLevel_ = level; }
  float masterLevel() const { return masterLevel_; }
  void setDownmix(bool downmix) { downmix_ = downmix; }
  bool downmix() const { return downmix_; }

  // Audio thread.
  // Every voice untriggered at its start, full velocity, no release.
  void silenceVoices() noexcept;
  // Triggers the note's holder; unless the holder is muted, every other sounding holder of its
  // choke group starts its release at the same frame.
  void noteOn(uint8_t note, uint8_t velocity) noexcept;
  void noteOff(uint8_t note) noexcept;
  // Count frames of holder index 0..11 (note 36 + index) into left and right, all gains applied.
  // False when every frame is the +0 of a holder that plays nothing (empty, or neither triggered
  // nor previewing).
  bool renderHolder(int holderIndex, float* left, float* right, int32_t count) noexcept;

  float velocityGain(uint8_t note) const { return velocityGain_[note & 0x7F]; }
  float releaseGain(uint8_t note) const { return releaseGain_[note & 0x7F]; }
  bool triggered(uint8_t note) const { return triggered_[note & 0x7F]; }
  bool releasing(uint8_t note) const { return releasing_[note & 0x7F]; }

 private:
  void choke(uint8_t note) noexcept;
  // The voice whose release reached its end is free again: untriggered, the gain back to 1.
  void endRelease(uint8_t note) noexcept;
  // The release of a voice that is not previewing, from its current gain: up to count frames,
  // ending after the frame in which it ends. Returns the frames written.
  int32_t renderRelease(int holderIndex, float* left, float* right, int32_t count) noexcept;
  // One frame of the holder's preview, which ignores velocity and release; a release under way
  // steps on beneath it.
  StereoFrame renderPreviewFrame(int holderIndex) noexcept;

  Relaxed<bool> downmix_{false};
  Kit kit_;
  Relaxed<float> masterLevel_{kDefaultMasterLevel};
  std::array<Relaxed<float>, kNoteCount> velocityGain_{};
  std::array<Relaxed<float>, kNoteCount> releaseGain_{};
  std::array<Relaxed<bool>, kNoteCount> triggered_{};
  std::array<Relaxed<bool>, kNoteCount> releasing_{};
};

}  // namespace engine
