// One sample and its playing settings: the voice and the preview of one note.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "engine/BlockEpoch.h"
#include "engine/CommandQueue.h"
#include "engine/Limits.h"
#include "engine/Relaxed.h"
#include "engine/SampleBuffer.h"
#include "engine/VoicePlayback.h"

namespace engine {

struct StereoFrame {
  float left = 0.0f;
  float right = 0.0f;
};

enum MuteState : uint32_t { kNotMuted = 0, kMuted = 1, kMutedBySolo = 2 };

// A holder's name and path are kept in one field of one line of the project text, whose fields
// end at ';' and whose lines end at a line feed; the text has no escape. A name may therefore
// hold neither ';' nor a control character, and a path neither ';' nor a line break (nor NUL,
// where the text ends).
constexpr char kNameStandIn = '_';
bool IsNameCharacter(char32_t character);
// The name with every character that it may not hold replaced by the stand-in.
std::string CleanHolderName(std::string name);
bool IsStorablePath(std::string_view path);

class SampleHolder {
  friend class ReferenceFrameLoop;  // the tests' frame-by-frame renderer

 public:
  // The epoch of the audio thread that renders this holder (sample arrays are retired through
  // it), the queue that takes its voice changes to that thread, and its note.
  SampleHolder(const BlockEpoch& epoch, CommandQueue& commands, uint8_t note);
  ~SampleHolder();
  SampleHolder(const SampleHolder&) = delete;
  SampleHolder& operator=(const SampleHolder&) = delete;

  // User-interface thread. --------------------------------------------------------------

  // Back to the defaults: no sample, centred, full volume, no pitch, unmuted; the voice and
  // the preview stop at the audio thread's next block.
  void clear();
  // Takes a copy of another holder's sample, path, name and file information. A holder
  // that had a sample is cleared first, so its settings return to their defaults.
  void setSample(const SampleHolder& other);
  // Makes a freshly read array the holder's sample (whole length, settings kept). The old
  // array is released once the audio thread is done with it.
  void installSample(std::unique_ptr<SampleBuffer> buffer);

  // Pan, volume, length, pitch and swing: any thread, lock-free (the editor and a host's
  // automation may set them at the same time).
  void setPan(float pan);
  void setVolume(float volume);
  void setLengthFraction(float fraction);
  // The pitch counts for the frames rendered from now on; its pacing starts again at the next block.
  void setPitch(int8_t pitch);
  void setSwing(bool swing) { swing_ = swing; }
  void setMuteState(uint32_t state) { muteState_ = state; }
  // The preview plays from its first frame from the next block on.
  void startPreview();

  void setPath(std::string path) { path_ = std::move(path); }
  // The name is cleaned (CleanHolderName) before it is kept.
  void setName(std::string name) { name_ = CleanHolderName(std::move(name)); }
  SampleFileInfo& fileInfo() { return fileInfo_; }
  const SampleFileInfo& fileInfo() const { return fileInfo_; }

  float pan() const { return pan_; }
  float volume() const { return volume_; }
  float leftGain() const { return leftGain_; }
  float rightGain() const { return rightGain_; }
  float lengthFraction() const { return lengthFraction_; }
  uint32_t length() const { return length_; }
  uint32_t end() const { return end_; }
  int8_t pitch() const { return pitch_; }
  uint8_t pitchCountdown() const { return pitchCountdown_; }
  bool swing() const { return swing_; }
  uint32_t muteState() const { return muteState_; }
  bool isEmpty() const { return empty_; }
  bool isPreviewPlaying() const { return previewPlaying_; }
  uint32_t voicePosition() const { return voicePosition_; }
  uint32_t previewPosition() const { return previewPosition_; }
  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }
  // The path after its last separator, and up to and including it.
  std::string fileNamePart() const;
  std::string folderPart() const;
  // The array being played (or null); only while no other thread replaces it.
  const SampleBuffer* sample() const { return buffer_.load(std::memory_order_seq_cst); }

  // Audio thread. ------------------------------------------------------------------------

  void setVoicePosition(uint32_t position) { voicePosition_ = position; }
  // Carries out a queued change of this holder's voice or preview.
  void carryOut(EngineCommand::Kind change) noexcept;
  // Starts the pitch pacing again after the pitch was set.
  void restartPitchIfSet() noexcept;
  // One frame of the preview or else the voice, with pan and volume applied.
  StereoFrame renderFrame() noexcept;
  // The voice (no preview) over count frames with all its gains: the state is read once and
  // the position and pitch countdown are written back at the end.
  void renderVoice(const VoiceGains& gains, float* left, float* right, uint32_t count) noexcept;

 private:
  void replaceBuffer(SampleBuffer* next);
  // Stores a setting, then works out what follows from the settings (gains, end) until no
  // other thread changed a setting meanwhile: the last thread to write sees the settings last.
  template <typename Derive>
  void derive(Derive&& derived);
  void updateGains();
  void advanceVoice() noexcept;

  const BlockEpoch& epoch_;
  CommandQueue& commands_;
  const uint8_t note_;
  std::string path_;
  std::string name_;
  SampleFileInfo fileInfo_;
  std::atomic<SampleBuffer*> buffer_{nullptr};
  Relaxed<float> pan_{kDefaultPan};
  Relaxed<float> volume_{1.0f};
  Relaxed<float> leftGain_{1.0f};
  Relaxed<float> rightGain_{1.0f};
  Relaxed<float> lengthFraction_{1.0f};
  Relaxed<uint32_t> length_{0};
  Relaxed<uint32_t> end_{0};
  Relaxed<int8_t> pitch_{0};
  Relaxed<uint32_t> voicePosition_{0};
  Relaxed<uint32_t> previewPosition_{0};
  Relaxed<bool> empty_{true};
  Relaxed<bool> previewPlaying_{false};
  Relaxed<bool> swing_{false};
  Relaxed<uint32_t> muteState_{kNotMuted};
  Relaxed<uint8_t> pitchCountdown_{0};
  Relaxed<bool> pitchSet_{false};
  std::atomic<uint32_t> settingChanges_{0};
};

}  // namespace engine
