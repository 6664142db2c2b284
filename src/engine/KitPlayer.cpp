#include "engine/KitPlayer.h"

#include <algorithm>
#include <array>

namespace engine {
namespace {
constexpr double kReleaseStep = 0.01;  // a released voice fades out over 100 frames
// The most frames a release takes, the silent one it ends in not counted.
constexpr int32_t kLongestRelease = 101;

// A release's gain one frame on; at 0 or below the release ends in that frame. Float rounding
// leaves the gain just above 0 after 100 steps: the voice ends in the 101st frame.
float NextReleaseGain(float gain) { return static_cast<float>(gain - kReleaseStep); }
}  // namespace

KitPlayer::KitPlayer() { silenceVoices(); }

void KitPlayer::reset() {
  masterLevel_ = kDefaultMasterLevel;
  downmix_ = false;
  kit_.commands().push({EngineCommand::SilenceVoices, 0});
}

void KitPlayer::silenceVoices() noexcept {
  for (int note = kFirstNote; note <= kLastNote; ++note) {
    kit_.holder(static_cast<uint8_t>(note)).setVoicePosition(0);
    releaseGain_[note] = 0.0f;
    velocityGain_[note] = 1.0f;
    triggered_[note] = false;
    releasing_[note] = false;
  }
}

void KitPlayer::noteOn(uint8_t note, uint8_t velocity) noexcept {
  note &= 0x7F;
  kit_.holder(note).setVoicePosition(0);
  releaseGain_[note] = 1.0f;
  velocityGain_[note] = static_cast<float>(velocity) / 127.0f;
  triggered_[note] = true;
  releasing_[note] = false;
  choke(note);
}

void KitPlayer::choke(uint8_t note) noexcept {
  const SampleHolder& holder = kit_.holder(note);
  const int group = holder.chokeGroup();
  // A muted holder, by its own mute or another's solo, is silent and cuts nothing off: muting
  // the closed hi-hat lets the open one ring.
  if (group == kNoChokeGroup || holder.muteState() != kNotMuted) return;
  for (int other = kit_.firstNote(); other <= kit_.lastNote(); ++other) {
    // A voice already releasing goes on as it was.
    if (other != note && triggered_[other] && kit_.holder(static_cast<uint8_t>(other)).chokeGroup() == group) {
      releasing_[other] = true;
    }
  }
}

void KitPlayer::noteOff(uint8_t note) noexcept { releasing_[note & 0x7F] = true; }

StereoFrame KitPlayer::renderPreviewFrame(int holderIndex) noexcept {
  const auto note = static_cast<uint8_t>(kFirstNote + holderIndex);
  if (releasing_[note]) {
    const float gain = NextReleaseGain(releaseGain_[note]);
    if (gain > 0.0f) {
      releaseGain_[note] = gain;
    } else {
      endRelease(note);
    }
  }
  SampleHolder& holder = kit_.holder(note);
  if (holder.isEmpty()) return {};
  const StereoFrame frame = holder.previewFrame(kit_.soundMode());
  const float master = masterLevel_;
  return {frame.left * master, frame.right * master};
}

int32_t KitPlayer::renderRelease(int holderIndex, float* left, float* right, int32_t count) noexcept {
  const auto note = static_cast<uint8_t>(kFirstNote + holderIndex);
  // The release's gains, stepped as renderPreviewFrame steps them, up to the frame in which it ends.
  std::array<float, kLongestRelease> ramp;
  float gain = releaseGain_[note];
  int32_t frames = 0;
  bool ends = false;
  while (frames < count && frames < kLongestRelease) {
    const float next = NextReleaseGain(gain);
    if (next <= 0.0f) {
      ends = true;
      break;
    }
    gain = next;
    ramp[static_cast<size_t>(frames++)] = gain;
  }
  SampleHolder& holder = kit_.holder(note);
  if (holder.isEmpty() || !triggered_[note]) {
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
  } else if (frames > 0) {
    // The voice's panned samples in whole vectors, then the frame loop's products in its order.
    holder.renderVoice(kit_.soundMode(), {holder.leftGain(), holder.rightGain(), 1.0f, 1.0f, 1.0f}, left, right,
                       static_cast<uint32_t>(frames));
    const float velocity = velocityGain_[note];
    const float master = masterLevel_;
    for (size_t frame = 0; frame < static_cast<size_t>(frames); ++frame) {
      left[frame] = left[frame] * ramp[frame] * velocity * master;
      right[frame] = right[frame] * ramp[frame] * velocity * master;
    }
  }
  releaseGain_[note] = gain;
  if (!ends) return frames;
  // The frame in which the release ends is silent, and the voice is free again.
  left[frames] = 0.0f;
  right[frames] = 0.0f;
  endRelease(note);
  return frames + 1;
}

void KitPlayer::endRelease(uint8_t note) noexcept {
  releaseGain_[note] = 1.0f;
  releasing_[note] = false;
  triggered_[note] = false;
}

bool KitPlayer::renderHolder(int holderIndex, float* left, float* right, int32_t count) noexcept {
  const auto note = static_cast<uint8_t>(kFirstNote + holderIndex);
  SampleHolder& holder = kit_.holder(note);
  int32_t frame = 0;
  // A preview goes frame by frame, and so does a release that meets one.
  while (frame < count) {
    if (!releasing_[note]) {
      if (!holder.isPreviewPlaying() || holder.isEmpty()) break;
      if (holder.muteState() != kNotMuted) {
        // A muted preview waits where it is; the frame is the silent one without voice gains.
        std::fill(left + frame, left + count, 0.0f * masterLevel_);
        std::fill(right + frame, right + count, 0.0f * masterLevel_);
        return true;
      }
    } else if (!holder.isPreviewPlaying()) {
      frame += renderRelease(holderIndex, left + frame, right + frame, count - frame);
      continue;
    }
    const StereoFrame rendered = renderPreviewFrame(holderIndex);
    left[frame] = rendered.left;
    right[frame] = rendered.right;
    ++frame;
  }
  if (frame == count) return true;
  left += frame;
  right += frame;
  const auto rest = static_cast<uint32_t>(count - frame);
  if (holder.isEmpty() || !triggered_[note]) {
    std::fill(left, left + rest, 0.0f);
    std::fill(right, right + rest, 0.0f);
    return frame != 0;
  }
  const VoiceGains gains{holder.leftGain(), holder.rightGain(), releaseGain_[note], velocityGain_[note], masterLevel_};
  holder.renderVoice(kit_.soundMode(), gains, left, right, rest);
  return true;
}

}  // namespace engine
