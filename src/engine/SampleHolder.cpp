#include "engine/SampleHolder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/BoundedLock.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace engine {
namespace {

StereoFrame readFrame(const SampleBuffer& buffer, uint32_t position) {
  const float* frame = buffer.samples.get() + static_cast<size_t>(position) * buffer.channels;
  // More than two channels: the first two are played.
  return buffer.channels >= 2 ? StereoFrame{frame[0], frame[1]} : StereoFrame{frame[0], frame[0]};
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

SampleHolder::SampleHolder(const BlockEpoch& epoch, CommandQueue& commands, uint8_t note)
    : epoch_(epoch), commands_(commands), note_(note) {}

SampleHolder::~SampleHolder() { delete buffer_.exchange(nullptr); }

void SampleHolder::clear() {
  pan_ = kDefaultPan;
  volume_ = leftGain_ = rightGain_ = lengthFraction_ = 1.0f;
  length_ = end_ = 0;
  pitch_ = 0;
  swing_ = false;
  muteState_ = kNotMuted;
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
  }
  if (!isEmpty()) clear();
  path_ = other.path_;
  name_ = other.name_;
  fileInfo_ = other.fileInfo_;
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
  // Taking the old array and publishing the new one is one step, so two replacements
  // never release the same array.
  platform::BoundedLock lock(platform::LoadMutex());
  epoch_.retire(buffer_.exchange(next, std::memory_order_seq_cst));
}

template <typename Derive>
void SampleHolder::derive(Derive&& derived) {
  settingChanges_.fetch_add(1);
  for (;;) {
    const uint32_t changes = settingChanges_.load();
    derived();
    std::atomic_thread_fence(std::memory_order_seq_cst);
    if (settingChanges_.load() == changes) return;
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
  derive([this] {
    // Truncated toward zero; a fraction outside 0..1 (or not a number) stays inside the sample.
    const uint32_t length = length_;
    const double end = static_cast<double>(lengthFraction_.load()) * length;
    end_ = end > 0.0 ? static_cast<uint32_t>(std::min(end, static_cast<double>(length))) : 0;
  });
}

void SampleHolder::setPitch(int8_t pitch) {
  pitch_ = pitch;
  // Not through the command queue, whose producers take turns: the pitch may come from the
  // audio thread itself.
  pitchSet_ = true;
}

void SampleHolder::restartPitchIfSet() noexcept {
  if (pitchSet_.exchange(false)) pitchCountdown_ = PitchCountdown(pitch_);
}

void SampleHolder::startPreview() { commands_.push({EngineCommand::StartPreview, note_}); }

void SampleHolder::carryOut(EngineCommand::Kind change) noexcept {
  switch (change) {
    case EngineCommand::StartPreview:
      previewPosition_ = 0;
      previewPlaying_ = true;
      break;
    case EngineCommand::SilenceHolder:
      voicePosition_ = previewPosition_ = 0;
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

std::string SampleHolder::folderPart() const {
  const auto cut = path_.find_last_of(platform::kPathSeparator);
  return cut == std::string::npos ? std::string() : path_.substr(0, cut + 1);
}

StereoFrame SampleHolder::renderFrame() noexcept {
  if (muteState_ != kNotMuted) return {};
  const SampleBuffer* buffer = buffer_.load(std::memory_order_seq_cst);
  if (previewPlaying_) {
    const uint32_t position = previewPosition_;
    if (buffer == nullptr || position >= buffer->frames) {
      previewPlaying_ = false;
      return {};
    }
    const StereoFrame frame = readFrame(*buffer, position);
    previewPosition_ = position + 1;
    if (position + 1 >= buffer->frames) previewPlaying_ = false;
    return {leftGain_ * frame.left, rightGain_ * frame.right};
  }
  const uint32_t position = voicePosition_;
  // The end may still belong to the previous array for a moment; the array's own length bounds the read.
  if (buffer == nullptr || position >= end_ || position >= buffer->frames) return {};
  const StereoFrame frame = readFrame(*buffer, position);
  advanceVoice();
  return {leftGain_ * frame.left, rightGain_ * frame.right};
}

void SampleHolder::renderVoice(const VoiceGains& gains, float* left, float* right, uint32_t count) noexcept {
  // Muted, or past the end: the silent frame through the same gains.
  const float silence = ((0.0f * gains.release) * gains.velocity) * gains.master;
  if (muteState_ != kNotMuted) {
    std::fill(left, left + count, silence);
    std::fill(right, right + count, silence);
    return;
  }
  VoiceCursor cursor{voicePosition_, pitchCountdown_};
  PlayVoice({buffer_.load(std::memory_order_seq_cst), end_, pitch_}, cursor, left, right, count, gains, silence);
  voicePosition_ = cursor.position;
  pitchCountdown_ = cursor.countdown;
}

void SampleHolder::advanceVoice() noexcept {
  const int8_t pitch = pitch_;
  const uint32_t position = voicePosition_;
  const uint8_t countdown = pitchCountdown_;
  if (pitch == 0 || pitch < -kMaxPitch || pitch > kMaxPitch) {
    voicePosition_ = position + 1;
  } else if (countdown != 0) {
    pitchCountdown_ = static_cast<uint8_t>(countdown - 1);
    voicePosition_ = position + 1;
  } else {
    // Down: the frame just read is read once more. Up: one frame is skipped.
    pitchCountdown_ = PitchCountdown(pitch);
    voicePosition_ = pitch < 0 ? position : position + 2;
  }
}

}  // namespace engine
