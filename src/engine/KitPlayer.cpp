#include "engine/KitPlayer.h"

namespace engine {
namespace {
constexpr double kReleaseStep = 0.01;  // a released voice fades out over 100 frames
}

KitPlayer::KitPlayer() { reset(); }

void KitPlayer::reset() {
  for (int note = kFirstNote; note <= kLastNote; ++note) {
    kit_.holder(static_cast<uint8_t>(note)).setVoicePosition(0);
    releaseGain_[note] = 0.0f;
    velocityGain_[note] = 1.0f;
    triggered_[note] = false;
    releasing_[note] = false;
  }
  masterLevel_ = 0.75f;
  downmix_ = false;
}

void KitPlayer::noteOn(uint8_t note, uint8_t velocity) noexcept {
  note &= 0x7F;
  kit_.holder(note).setVoicePosition(0);
  releaseGain_[note] = 1.0f;
  velocityGain_[note] = static_cast<float>(velocity) / 127.0f;
  triggered_[note] = true;
  releasing_[note] = false;
}

void KitPlayer::noteOff(uint8_t note) noexcept { releasing_[note & 0x7F] = true; }

StereoFrame KitPlayer::renderNote(int holderIndex) noexcept {
  const auto note = static_cast<uint8_t>(kFirstNote + holderIndex);
  if (releasing_[note]) {
    // Float rounding leaves the gain just above 0 after 100 steps: the voice ends in the 101st frame.
    float gain = static_cast<float>(releaseGain_[note] - kReleaseStep);
    if (gain <= 0.0f) {
      gain = 1.0f;
      releasing_[note] = false;
      triggered_[note] = false;
    }
    releaseGain_[note] = gain;
  }
  SampleHolder& holder = kit_.holder(note);
  if (holder.isEmpty()) return {};
  if (!triggered_[note] && !holder.isPreviewPlaying()) return {};
  // The preview ignores velocity and release, its last frame included.
  const bool preview = holder.isPreviewPlaying();
  StereoFrame frame = holder.renderFrame();
  if (!preview) {
    const float release = releaseGain_[note];
    const float velocity = velocityGain_[note];
    frame.left = frame.left * release * velocity;
    frame.right = frame.right * release * velocity;
  }
  const float master = masterLevel_;
  return {frame.left * master, frame.right * master};
}

}  // namespace engine
