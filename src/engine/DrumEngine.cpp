#include "engine/DrumEngine.h"

#include "platform/FloatingPoint.h"

namespace engine {

DrumEngine::DrumEngine() : sequencer_(std::make_unique<StepSequencer>(kitPlayer_)) {}

void DrumEngine::resetAll() {
  editorState_.groupChanged = false;
  syncMode_ = SyncMode::Hsync;
  lastMode_ = SyncMode::Hsync;
  sequencer_->reset();
  kitPlayer_.kit().clearAll();
  kitPlayer_.reset();
}

void DrumEngine::receiveMidiNote(uint8_t status, uint8_t note, uint8_t velocity, uint16_t frameOffset) noexcept {
  note &= 0x7F;
  velocity = (status & 0xF0) == 0x80 ? 0 : velocity & 0x7F;
  bool accepted = false;
  switch (syncMode_.load()) {
    case SyncMode::Run:
    case SyncMode::Hsync:
      accepted = isPatternNote(note);
      break;
    case SyncMode::Midi:
      accepted = isHolderNote(note);
      break;
    case SyncMode::Stop:
      break;
  }
  if (accepted) queue_.insert({note, velocity, frameOffset});
}

void DrumEngine::prepareBlock(const HostTime& time, int32_t frames) {
  EditorState& flags = editorState_;
  const SyncMode mode = syncMode_;
  switch (mode) {
    case SyncMode::Stop:
      flags.positionHidden = lastMode_ != SyncMode::Run;
      flags.positionChanged = true;
      flags.groupChanged = false;
      flags.patternChanged = false;
      return;
    case SyncMode::Midi:
      flags.positionChanged = false;
      flags.positionHidden = true;
      flags.groupChanged = false;
      flags.patternChanged = false;
      break;
    case SyncMode::Hsync:
    case SyncMode::Run:
      flags.positionHidden = false;
      flags.positionChanged = true;
      flags.groupChanged = true;
      flags.patternChanged = true;
      // Without time information nothing is scheduled and the clock keeps its place.
      if (!time.available) break;
      if (mode == SyncMode::Hsync) {
        sequencer_->prepareHsyncBlock(time, flags.swingAmount, queue_, frames);
        if (!time.playing) {
          flags.positionHidden = false;
          flags.positionChanged = true;
          flags.groupChanged = false;
          flags.patternChanged = false;
        }
      } else {
        sequencer_->prepareRunBlock(time, flags.swingAmount, queue_, frames);
      }
      break;
  }
  lastMode_ = mode;
}

void DrumEngine::carryOut(NoteEvent event) noexcept {
  if (isPatternNote(event.note)) {
    if (event.velocity != 0) {
      sequencer_->selectPattern(event.note - kFirstPatternNote);
      editorState_.patternChanged = true;
    }
  } else if (event.velocity != 0) {
    kitPlayer_.noteOn(event.note, event.velocity);
  } else {
    kitPlayer_.noteOff(event.note);
  }
}

void DrumEngine::renderFrame(float* const* outputs, int32_t frame) noexcept {
  if (kitPlayer_.downmix()) {
    float left = 0.0f;
    float right = 0.0f;
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const StereoFrame voice = kitPlayer_.renderNote(holder);
      left += voice.left;
      right += voice.right;
    }
    outputs[0][frame] = left;
    outputs[1][frame] = right;
    for (int output = 2; output < kOutputCount; ++output) outputs[output][frame] = 0.0f;
  } else {
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const StereoFrame voice = kitPlayer_.renderNote(holder);
      outputs[2 * holder][frame] = voice.left;
      outputs[2 * holder + 1][frame] = voice.right;
    }
  }
}

void DrumEngine::renderBlock(const HostTime& time, float* const* outputs, int32_t frames) noexcept {
  const platform::DenormalsOff denormalsOff;
  const BlockScope block(kitPlayer_.kit().blockEpoch());
  prepareBlock(time, frames);
  const bool clockRuns = syncMode_ != SyncMode::Stop && time.available;
  const int32_t lastFrame = frames - 1;
  for (int32_t frame = 0; frame < frames; ++frame) {
    // An event whose offset lies beyond the block is carried out at its last frame.
    while (!queue_.empty() && (queue_.front().frameOffset <= frame || frame == lastFrame)) {
      const NoteEvent event = queue_.front();
      queue_.popFront();
      carryOut(event);
    }
    renderFrame(outputs, frame);
    if (clockRuns) sequencer_->advanceClock();
  }
}

}  // namespace engine
