#include "reference/ReferenceFrameLoop.h"

#include <cmath>
#include <cstdlib>

#include "platform/FloatingPoint.h"

namespace engine {
namespace {

constexpr double kReleaseStep = 0.01;

uint8_t CountdownFor(int8_t pitch) {
  const int magnitude = std::abs(static_cast<int>(pitch));
  return magnitude >= 1 && magnitude <= kMaxPitch ? static_cast<uint8_t>(13 - magnitude) : 0;
}

StereoFrame ReadFrame(const SampleBuffer& buffer, uint32_t position) {
  const float* frame = buffer.samples.get() + static_cast<size_t>(position) * buffer.channels;
  return buffer.channels >= 2 ? StereoFrame{frame[0], frame[1]} : StereoFrame{frame[0], frame[0]};
}

// sum = voice + sum with the voice as the first operand, as the frame loop was compiled; the
// order only shows when both are not-a-number, and is written out so no compiler swaps it.
float AddVoice(float sum, float voice) {
#if defined(__SSE2__)
  asm("addss %1, %0" : "+x"(voice) : "x"(sum));
  return voice;
#else
  return voice + sum;
#endif
}

}  // namespace

void ReferenceFrameLoop::prepareBlock(DrumEngine& engine, const HostTime& time, int32_t frames) {
  EditorState& editor = engine.editorState_;
  StepClock& clock = *engine.clock_;
  const SyncMode mode = engine.syncMode_;
  editor.reportBlock(mode, engine.lastMode_, time);
  switch (mode) {
    case SyncMode::Stop:
      return;
    case SyncMode::Midi:
      break;
    case SyncMode::Hsync:
    case SyncMode::Run:
      if (!time.available) break;
      if (mode == SyncMode::Hsync) {
        if (time.tempoValid) clock.updateTiming(time.sampleRate, time.tempo, editor.swingAmount);
        if (std::isfinite(time.ppqPos)) {
          const double position = time.ppqPos + 1e-13;
          const double whole = std::trunc(position);
          const double beatInBar = std::fmod(whole, static_cast<double>(kBeatsPerBar));
          const double offset = ((position - whole) + beatInBar) * clock.samplesPerBeat_;
          int32_t barPosition =
              offset >= 0.0 ? static_cast<int32_t>(offset) : static_cast<int32_t>(std::floor(offset + 1e-6));
          if (barPosition == clock.barLength_) barPosition = 0;
          clock.barPosition_ = barPosition;
        }
        clock.locate();
        if (time.playing && time.ppqValid && time.tempoValid && clock.timingComputed()) {
          schedule(clock, engine.queue_, frames);
        }
      } else {
        const int32_t steps = clock.playingResolution();
        if (!clock.runMemorySet_) {
          clock.runTempo_ = time.tempo;
          clock.runResolution_ = steps;
          clock.runMemorySet_ = true;
        }
        if (time.tempoValid) {
          clock.updateTiming(time.sampleRate, time.tempo, editor.swingAmount);
          if (time.tempo != clock.runTempo_ || steps != clock.runResolution_) {
            clock.runResolution_ = steps;
            const int index = ResolutionIndex(steps);
            if (index >= 0) clock.barPosition_ = clock.stepBoundaries_[index][clock.nextStepIndex_ % steps];
            clock.runTempo_ = time.tempo;
          }
        }
        clock.locate();
        if (clock.timingComputed()) schedule(clock, engine.queue_, frames);
      }
      break;
  }
  engine.lastMode_ = mode;
}

void ReferenceFrameLoop::schedule(const StepClock& clock, NoteEventQueue& queue, int32_t frames) {
  const int pattern = clock.pattern_;
  const int32_t steps = clock.patterns_.resolution(pattern);
  const int64_t start = clock.barPosition_;
  const int64_t stop = start + frames;
  for (int holder = 0; holder < kHolderCount; ++holder) {
    const auto note = static_cast<uint8_t>(kFirstNote + holder);
    const auto& times = clock.stepTimes_[pattern][holder];
    for (int step = 0; step < steps; ++step) {
      const int64_t time = times[step];
      if (start <= time && time < stop && clock.patterns_.cellSounds(pattern, step, holder)) {
        const auto velocity = static_cast<uint8_t>(clock.patterns_.stepVelocity(pattern, step, holder));
        queue.insert({note, velocity, static_cast<uint16_t>(time - start)});
      }
    }
    const int64_t barEnd = times[steps];
    if (stop > barEnd) {
      const int64_t intoNextBar = barEnd - start;
      const int64_t first = times[0];
      if (first >= 0 && first < frames - intoNextBar && clock.patterns_.cellSounds(pattern, 0, holder)) {
        const auto velocity = static_cast<uint8_t>(clock.patterns_.stepVelocity(pattern, 0, holder));
        queue.insert({note, velocity, static_cast<uint16_t>(first + intoNextBar)});
      }
    }
  }
}

void ReferenceFrameLoop::advanceClock(StepClock& clock) noexcept {
  const int32_t position = clock.barPosition_ + 1;
  clock.barPosition_ = position;
  const int32_t steps = clock.playingResolution();
  const int index = ResolutionIndex(steps);
  clock.nextStepIndex_ = (clock.currentStep_ + 1) % (steps + 1);
  if (index < 0) return;
  if (position == clock.stepBoundaries_[index][clock.nextStepIndex_]) {
    clock.currentStep_ = clock.nextStepIndex_ % steps;
    if (clock.currentStep_ == 0) clock.barPosition_ = 0;
  } else if (clock.barLength_ > 0 && position >= clock.barLength_) {
    clock.currentStep_ = 0;
    clock.barPosition_ = 0;
  }
}

void ReferenceFrameLoop::carryOut(DrumEngine& engine, NoteEvent event) noexcept {
  KitPlayer& player = engine.kitPlayer_;
  // Pattern notes and note-offs as the engine carries them out.
  if (!IsHolderNote(event.note) || event.velocity == 0) {
    engine.carryOut(event);
    return;
  }
  const uint8_t note = event.note;
  player.kit_.holder(note).voicePosition_ = 0;
  player.releaseGain_[note] = 1.0f;
  player.velocityGain_[note] = static_cast<float>(event.velocity) / 127.0f;
  player.triggered_[note] = true;
  player.releasing_[note] = false;
  // The choke: unless this holder is muted, every other triggered holder of the same group
  // starts its release.
  const int group = player.kit_.holder(note).chokeGroup_;
  const bool muted = player.kit_.holder(note).muteState_ != kNotMuted;
  for (int other = kFirstNote; other <= kLastNote; ++other) {
    const auto otherNote = static_cast<uint8_t>(other);
    if (group != kNoChokeGroup && !muted && otherNote != note && player.triggered_[otherNote] &&
        player.kit_.holder(otherNote).chokeGroup_ == group) {
      player.releasing_[otherNote] = true;
    }
  }
}

StereoFrame ReferenceFrameLoop::holderFrame(SampleHolder& holder) noexcept {
  if (holder.muteState_ != kNotMuted) return {};
  const SampleBuffer* buffer = holder.buffer_.load(std::memory_order_seq_cst);
  if (holder.previewPlaying_) {
    const uint32_t position = holder.previewPosition_;
    if (buffer == nullptr || position >= buffer->frames) {
      holder.previewPlaying_ = false;
      return {};
    }
    const StereoFrame frame = ReadFrame(*buffer, position);
    holder.previewPosition_ = position + 1;
    if (position + 1 >= buffer->frames) holder.previewPlaying_ = false;
    return {holder.leftGain_ * frame.left, holder.rightGain_ * frame.right};
  }
  const uint32_t position = holder.voicePosition_;
  if (buffer == nullptr || position >= holder.end_ || position >= buffer->frames) return {};
  const StereoFrame frame = ReadFrame(*buffer, position);
  advanceVoice(holder);
  return {holder.leftGain_ * frame.left, holder.rightGain_ * frame.right};
}

void ReferenceFrameLoop::advanceVoice(SampleHolder& holder) noexcept {
  const int8_t pitch = holder.pitch_;
  const uint32_t position = holder.voicePosition_;
  const uint8_t countdown = holder.pitchCountdown_;
  if (pitch == 0 || pitch < -kMaxPitch || pitch > kMaxPitch) {
    holder.voicePosition_ = position + 1;
  } else if (countdown != 0) {
    holder.pitchCountdown_ = static_cast<uint8_t>(countdown - 1);
    holder.voicePosition_ = position + 1;
  } else {
    holder.pitchCountdown_ = CountdownFor(pitch);
    holder.voicePosition_ = pitch < 0 ? position : position + 2;
  }
}

StereoFrame ReferenceFrameLoop::renderNote(KitPlayer& player, int holderIndex) noexcept {
  const auto note = static_cast<uint8_t>(kFirstNote + holderIndex);
  if (player.releasing_[note]) {
    float gain = static_cast<float>(player.releaseGain_[note] - kReleaseStep);
    if (gain <= 0.0f) {
      gain = 1.0f;
      player.releasing_[note] = false;
      player.triggered_[note] = false;
    }
    player.releaseGain_[note] = gain;
  }
  SampleHolder& holder = player.kit_.holder(note);
  if (holder.isEmpty()) return {};
  if (!player.triggered_[note] && !holder.isPreviewPlaying()) return {};
  const bool preview = holder.isPreviewPlaying();
  StereoFrame frame = holderFrame(holder);
  if (!preview) {
    const float release = player.releaseGain_[note];
    const float velocity = player.velocityGain_[note];
    frame.left = frame.left * release * velocity;
    frame.right = frame.right * release * velocity;
  }
  const float master = player.masterLevel_;
  return {frame.left * master, frame.right * master};
}

void ReferenceFrameLoop::renderFrame(KitPlayer& player, float* const* outputs, int32_t frame) noexcept {
  if (player.downmix()) {
    float left = 0.0f;
    float right = 0.0f;
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const StereoFrame voice = renderNote(player, holder);
      left = AddVoice(left, voice.left);
      right = AddVoice(right, voice.right);
    }
    outputs[0][frame] = left;
    outputs[1][frame] = right;
    for (int output = 2; output < kOutputCount; ++output) outputs[output][frame] = 0.0f;
  } else {
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const StereoFrame voice = renderNote(player, holder);
      outputs[2 * holder][frame] = voice.left;
      outputs[2 * holder + 1][frame] = voice.right;
    }
  }
}

void ReferenceFrameLoop::renderBlock(DrumEngine& engine, const HostTime& time, float* const* outputs,
                                     int32_t frames) noexcept {
  const platform::DenormalsOff denormalsOff;
  const BlockScope block(engine.kit().blockEpoch());
  // The changes queued since the last block (not part of the frame loop, and the same code).
  engine.carryOutCommands();
  prepareBlock(engine, time, frames);
  const bool clockRuns = engine.syncMode_ != SyncMode::Stop && time.available;
  const int32_t lastFrame = frames - 1;
  for (int32_t frame = 0; frame < frames; ++frame) {
    while (!engine.queue_.empty() && (engine.queue_.front().frameOffset <= frame || frame == lastFrame)) {
      const NoteEvent event = engine.queue_.front();
      engine.queue_.popFront();
      carryOut(engine, event);
    }
    renderFrame(engine.kitPlayer_, outputs, frame);
    if (clockRuns) advanceClock(*engine.clock_);
  }
}

}  // namespace engine
