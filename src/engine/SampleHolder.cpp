#include "engine/SampleHolder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

#include "platform/BoundedLock.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace engine {
namespace {

StereoFrame ReadFrame(const SampleBuffer& buffer, uint32_t position) {
  const float* frame = buffer.samples.get() + static_cast<size_t>(position) * buffer.channels;
  // More than two channels: the first two are played.
  return buffer.channels >= 2 ? StereoFrame{frame[0], frame[1]} : StereoFrame{frame[0], frame[0]};
}

// The frame at which a voice of this length stops: the fraction of it, truncated toward zero;
// a fraction outside 0..1 (or not a number) stays inside the sample.
uint32_t EndOf(float fraction, uint32_t length) {
  const double end = static_cast<double>(fraction) * length;
  return end > 0.0 ? static_cast<uint32_t>(std::min(end, static_cast<double>(length))) : 0;
}

// How far a Tuned preview steps through the prepared copy per frame, in 1/2^32 frames: the
// copy's pitch undone, so the preview sounds at the session's rate without it.
uint64_t PreviewStep(int8_t pitch) {
  if (pitch < -kMaxPitch || pitch > kMaxPitch) pitch = 0;
  return static_cast<uint64_t>(std::ldexp(std::exp2(-pitch / 12.0), 32));
}

}  // namespace

bool IsNameCharacter(char32_t character) { return character != ';' && character >= 0x20 && character != 0x7F; }

std::string CleanHolderName(std::string name) {
  // Bytes from 0x80 up are parts of letters (UTF-8 or the code page) and stay.
  for (char& byte : name) {
    if (!IsNameCharacter(static_cast<unsigned char>(byte))) byte = kNameStandIn;
  }
  return name;
}

bool IsStorablePath(std::string_view path) {
  constexpr std::string_view kRefused(";\n\r\0", 4);
  return path.find_first_of(kRefused) == std::string_view::npos;
}

SampleHolder::SampleHolder(PreparationRequests& preparation, const BlockEpoch& epoch, CommandQueue& commands,
                           uint8_t note)
    : preparation_(preparation), epoch_(epoch), commands_(commands), note_(note) {}

SampleHolder::~SampleHolder() {
  delete buffer_.exchange(nullptr);
  delete prepared_.exchange(nullptr);
}

void SampleHolder::clear() {
  pan_ = kDefaultPan;
  volume_ = leftGain_ = rightGain_ = lengthFraction_ = 1.0f;
  length_ = end_ = 0;
  pitch_ = 0;
  swing_ = false;
  muteState_ = kNotMuted;
  chokeGroup_ = kNoChokeGroup;
  empty_ = true;
  commands_.push({EngineCommand::SilenceHolder, note_});
  path_.clear();
  name_.clear();
  replaceBuffer(nullptr);
}

void SampleHolder::setSample(const SampleHolder& other) {
  std::unique_ptr<SampleBuffer> copy;
  if (const SampleBuffer* source = other.sample()) {
    copy = SampleBuffer::allocate(source->frames, source->channels);
    if (!copy) {
      platform::ShowMessage("Error", "There is not enough memory to copy the sample \"" + other.path() + "\".");
      return;
    }
    std::memcpy(copy->samples.get(), source->samples.get(),
                static_cast<size_t>(source->frames) * source->channels * sizeof(float));
    copy->sampleRate = source->sampleRate;
  }
  if (!isEmpty()) clear();
  path_ = other.path_;
  name_ = other.name_;
  fileInfo_ = other.fileInfo_;
  chokeGroup_ = other.chokeGroup_;
  // Copying a holder that has no sample leaves this one without one too.
  if (copy) installSample(std::move(copy));
}

void SampleHolder::installSample(std::unique_ptr<SampleBuffer> buffer) {
  const uint32_t frames = buffer ? buffer->frames : 0;
  length_ = frames;
  end_ = frames;
  empty_ = buffer == nullptr;
  replaceBuffer(buffer.release());
}

void SampleHolder::replaceBuffer(SampleBuffer* next) {
  {
    // Taking the old array and publishing the new one is one step, so two replacements
    // never release the same array. The copy prepared from the old array goes with it.
    platform::BoundedLock lock(platform::LoadMutex());
    ++sampleSerial_;
    SampleBuffer* previous = buffer_.exchange(next, std::memory_order_seq_cst);
    SampleBuffer* previousPrepared = prepared_.exchange(nullptr, std::memory_order_seq_cst);
    epoch_.retire(previous);
    epoch_.retire(previousPrepared);
  }
  preparation_.request();
}

void SampleHolder::installPrepared(std::unique_ptr<SampleBuffer> prepared) {
  platform::BoundedLock lock(platform::LoadMutex());
  epoch_.retire(prepared_.exchange(prepared.release(), std::memory_order_seq_cst));
}

template <typename Derive>
void SampleHolder::derive(Derive&& derived) {
  settingChanges_.fetch_add(1);
  for (;;) {
    const uint32_t changes = settingChanges_.load();
    derived();
    // A read-modify-write, not a plain load: its release keeps the reads of derived() before the
    // check (a fence would do the same, but the thread sanitizer cannot follow fences).
    if (settingChanges_.fetch_add(0) == changes) return;
  }
}

void SampleHolder::updateGains() {
  const float pan = pan_;
  const float volume = volume_;
  float left = volume;
  float right = volume;
  if (pan < 0.45f) {
    right = 2.0f * pan * volume;
  } else if (pan > 0.55f) {
    left = 2.0f * (1.0f - pan) * volume;
  }
  leftGain_ = left;
  rightGain_ = right;
}

void SampleHolder::setPan(float pan) {
  pan_ = pan;
  derive([this] { updateGains(); });
}

void SampleHolder::setVolume(float volume) {
  volume_ = volume;
  derive([this] { updateGains(); });
}

void SampleHolder::setLengthFraction(float fraction) {
  lengthFraction_ = fraction;
  derive([this] { end_ = EndOf(lengthFraction_, length_); });
}

void SampleHolder::setPitch(int8_t pitch) noexcept {
  pitch_ = pitch;
  pitchChanged_.store(true, std::memory_order_release);
  preparation_.request();
}

void SampleHolder::restartPitchIfChanged() noexcept {
  if (pitchChanged_.exchange(false, std::memory_order_acq_rel)) pitchCountdown_ = PitchCountdown(pitch_);
}

void SampleHolder::setChokeGroup(int group) {
  if (group >= kNoChokeGroup && group <= kChokeGroupCount) chokeGroup_ = static_cast<uint8_t>(group);
}

void SampleHolder::startPreview() { commands_.push({EngineCommand::StartPreview, note_}); }

void SampleHolder::carryOut(EngineCommand::Kind change) noexcept {
  switch (change) {
    case EngineCommand::StartPreview:
      previewPosition_ = previewFraction_ = 0;
      previewPlaying_ = true;
      break;
    case EngineCommand::SilenceHolder:
      voicePosition_ = previewPosition_ = previewFraction_ = 0;
      pitchCountdown_ = 0;
      previewPlaying_ = false;
      break;
    default:
      break;
  }
}

std::string SampleHolder::fileNamePart() const {
  const auto cut = path_.find_last_of(platform::kPathSeparator);
  return cut == std::string::npos ? path_ : path_.substr(cut + 1);
}

VoiceSource SampleHolder::voiceSource(SoundMode mode) const noexcept {
  if (mode == SoundMode::Classic) return {buffer_.load(std::memory_order_seq_cst), end_, pitch_};
  if (const SampleBuffer* prepared = prepared_.load(std::memory_order_seq_cst)) {
    return {prepared, EndOf(lengthFraction_, prepared->frames), 0};
  }
  return {buffer_.load(std::memory_order_seq_cst), end_, 0};
}

StereoFrame SampleHolder::previewFrame(SoundMode mode) noexcept {
  if (muteState_ != kNotMuted) return {};
  const SampleBuffer* prepared = mode == SoundMode::Tuned ? prepared_.load(std::memory_order_seq_cst) : nullptr;
  const SampleBuffer* buffer = prepared != nullptr ? prepared : buffer_.load(std::memory_order_seq_cst);
  const uint32_t position = previewPosition_;
  if (buffer == nullptr || position >= buffer->frames) {
    previewPlaying_ = false;
    return {};
  }
  StereoFrame frame = ReadFrame(*buffer, position);
  uint64_t next = uint64_t{position} + 1;
  if (prepared != nullptr) {
    // Between two frames of the copy, the straight line from one to the other.
    const uint32_t fraction = previewFraction_;
    if (fraction != 0 && position + 1 < buffer->frames) {
      const StereoFrame after = ReadFrame(*buffer, position + 1);
      const float weight = static_cast<float>(std::ldexp(fraction, -32));
      frame = {frame.left + weight * (after.left - frame.left), frame.right + weight * (after.right - frame.right)};
    }
    const uint64_t stepped = ((uint64_t{position} << 32) | fraction) + PreviewStep(pitch_);
    next = stepped >> 32;
    previewFraction_ = static_cast<uint32_t>(stepped);
  }
  previewPosition_ = static_cast<uint32_t>(std::min<uint64_t>(next, buffer->frames));
  if (next >= buffer->frames) previewPlaying_ = false;
  return {leftGain_ * frame.left, rightGain_ * frame.right};
}

void SampleHolder::renderVoice(SoundMode mode, const VoiceGains& gains, float* left, float* right,
                               uint32_t count) noexcept {
  // Muted, or past the end: the silent frame through the same gains.
  // A muted voice keeps its place and plays a source without frames.
  const float silence = ((0.0f * gains.release) * gains.velocity) * gains.master;
  const bool muted = muteState_ != kNotMuted;
  VoiceCursor cursor{voicePosition_, pitchCountdown_};
  PlayVoice(muted ? VoiceSource{nullptr, 0, 0} : voiceSource(mode), cursor, left, right, count, gains, silence);
  if (muted) return;
  voicePosition_ = cursor.position;
  pitchCountdown_ = cursor.countdown;
}

}  // namespace engine
