#include "engine/DrumEngine.h"

#include <algorithm>
#include <array>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/FloatingPoint.h"

namespace engine {
namespace {

// The downmix renders each holder into scratch runs of this many frames before adding them.
constexpr int32_t kDownmixChunk = 256;

// sum[i] = voice[i] + sum[i], the voice as the first operand as the frame-by-frame sum was
// compiled: when both are not-a-number the first operand's sign and payload win. Compilers
// take addition as commutative and may swap the operands, so the instruction is written out.
void AddVoice(float* sum, const float* voice, int32_t count) noexcept {
  int32_t frame = 0;
#if defined(__SSE2__)
  for (; frame + 4 <= count; frame += 4) {
    __m128 value = _mm_loadu_ps(voice + frame);
    asm("addps %1, %0" : "+x"(value) : "x"(_mm_loadu_ps(sum + frame)));
    _mm_storeu_ps(sum + frame, value);
  }
  for (; frame < count; ++frame) {
    float value = voice[frame];
    asm("addss %1, %0" : "+x"(value) : "x"(sum[frame]));
    sum[frame] = value;
  }
#else
  for (; frame < count; ++frame) sum[frame] = voice[frame] + sum[frame];
#endif
}

}  // namespace

DrumEngine::DrumEngine()
    : patterns_(std::make_unique<PatternStore>(editorState_.swingAmount)),
      clock_(std::make_unique<StepClock>(*patterns_, kitPlayer_, kitPlayer_.kit().commands())) {}

void DrumEngine::resetAll() {
  syncMode_ = SyncMode::Hsync;
  setLastMode(SyncMode::Hsync);
  patterns_->reset();
  clock_->reset();
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
      accepted = IsPatternNote(note);
      break;
    case SyncMode::Midi:
      accepted = IsHolderNote(note);
      break;
    case SyncMode::Stop:
      break;
  }
  if (accepted) queue_.insert({note, velocity, frameOffset});
}

void DrumEngine::carryOutCommands() noexcept {
  kitPlayer_.kit().commands().drain([this](const EngineCommand& command) {
    switch (command.kind) {
      case EngineCommand::StartPreview:
      case EngineCommand::SilenceHolder:
        kitPlayer_.kit().holder(command.value).carryOut(command.kind);
        break;
      case EngineCommand::SilenceVoices:
        kitPlayer_.silenceVoices();
        break;
      case EngineCommand::Rewind:
        clock_->placeAtBarStart();
        break;
    }
  });
  // A pitch may change from any thread, the audio thread's own automation included, so its
  // restart is a flag of the holder rather than a queued change. Taking it after the queue gives
  // what the queue's order gave: a silenced holder's pitch was set to none before it was queued.
  for (int note = kFirstNote; note <= kLastNote; ++note) {
    kitPlayer_.kit().holder(static_cast<uint8_t>(note)).restartPitchIfChanged();
  }
  // After a rewind queued with it, the selected pattern's step is placed at the bar's start.
  clock_->takeSelection();
  lastModeSetting_.take([this](SyncMode mode) { lastMode_ = mode; });
}

void DrumEngine::prepareBlock(const HostTime& time, int32_t frames) {
  const SyncMode mode = syncMode_;
  editorState_.reportBlock(mode, lastMode_, time);
  if (time.available && time.tempoValid) editorState_.sessionTempo = time.tempo;
  switch (mode) {
    case SyncMode::Stop:
      return;
    case SyncMode::Midi:
      break;
    case SyncMode::Hsync:
    case SyncMode::Run:
      // Without time information nothing is scheduled and the clock keeps its place.
      if (!time.available) break;
      if (mode == SyncMode::Hsync) {
        clock_->prepareHsyncBlock(time, editorState_.swingAmount, queue_, frames);
      } else {
        clock_->prepareRunBlock(time, editorState_.swingAmount, queue_, frames);
      }
      break;
  }
  lastMode_ = mode;
}

void DrumEngine::carryOut(NoteEvent event) noexcept {
  if (IsPatternNote(event.note)) {
    if (event.velocity != 0) {
      clock_->placePattern(event.note - kFirstPatternNote);
      editorState_.patternChanges.increment();
    }
  } else if (event.velocity != 0) {
    kitPlayer_.noteOn(event.note, event.velocity);
  } else {
    kitPlayer_.noteOff(event.note);
  }
}

void DrumEngine::renderStretch(float* const* outputs, int32_t first, int32_t count) noexcept {
  if (!kitPlayer_.downmix()) {
    for (int holder = 0; holder < kHolderCount; ++holder) {
      kitPlayer_.renderHolder(holder, outputs[2 * holder] + first, outputs[2 * holder + 1] + first, count);
    }
    return;
  }
  // Each frame's sum starts at +0 and takes the holders in order. A sum that starts at +0
  // never becomes -0, so adding a silent holder's +0 changes nothing and is left out.
  float* sumLeft = outputs[0] + first;
  float* sumRight = outputs[1] + first;
  std::fill(sumLeft, sumLeft + count, 0.0f);
  std::fill(sumRight, sumRight + count, 0.0f);
  alignas(64) std::array<float, kDownmixChunk> left;
  alignas(64) std::array<float, kDownmixChunk> right;
  for (int32_t start = 0; start < count; start += kDownmixChunk) {
    const int32_t frames = std::min(kDownmixChunk, count - start);
    for (int holder = 0; holder < kHolderCount; ++holder) {
      if (kitPlayer_.renderHolder(holder, left.data(), right.data(), frames)) {
        AddVoice(sumLeft + start, left.data(), frames);
        AddVoice(sumRight + start, right.data(), frames);
      }
    }
  }
  for (int output = 2; output < kOutputCount; ++output)
    std::fill(outputs[output] + first, outputs[output] + first + count, 0.0f);
}

void DrumEngine::renderBlock(const HostTime& time, float* const* outputs, int32_t frames) noexcept {
  const platform::DenormalsOff denormalsOff;
  const BlockScope block(kitPlayer_.kit().blockEpoch());
  carryOutCommands();
  prepareBlock(time, frames);
  const bool clockRuns = syncMode_ != SyncMode::Stop && time.available;
  const int32_t lastFrame = frames - 1;
  int32_t frame = 0;
  while (frame < frames) {
    // An event whose offset lies beyond the block is carried out at its last frame.
    while (!queue_.empty() && (queue_.front().frameOffset <= frame || frame == lastFrame)) {
      const NoteEvent event = queue_.front();
      queue_.popFront();
      carryOut(event);
    }
    // Carrying out an event queues none, so nothing happens before the next queued offset.
    const int32_t end = queue_.empty() ? frames : std::min<int32_t>(queue_.front().frameOffset, lastFrame);
    renderStretch(outputs, frame, end - frame);
    if (clockRuns) clock_->advanceClockBy(end - frame);
    frame = end;
  }
}

}  // namespace engine
