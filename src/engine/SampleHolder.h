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
#include "engine/PreparationRequests.h"
#include "engine/Relaxed.h"
#include "engine/SampleBuffer.h"
#include "engine/SoundMode.h"
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
  // Where a change of its sample or pitch asks for a new prepared copy, the epoch of the audio
  // thread that renders this holder (sample arrays are retired through it), the queue that
  // takes its voice changes to that thread, and its note.
  SampleHolder(PreparationRequests& preparation, const BlockEpoch& epoch, CommandQueue& commands, uint8_t note);
  ~SampleHolder();
  SampleHolder(const SampleHolder&) = delete;
  SampleHolder& operator=(const SampleHolder&) = delete;

  // User-interface thread. --------------------------------------------------------------

  // Back to the defaults: no sample, centred, full volume, no pitch, unmuted; the voice and
  // the preview stop at the audio thread's next block.
  void clear();
  // Takes a copy of another holder's sample, path, name, file information and choke group. A
  // holder that had a sample is cleared first, so its other settings return to their defaults.
  void setSample(const SampleHolder& other);
  // Makes a freshly read array the holder's sample (whole length, settings kept). The old
  // array, and the copy prepared from it, are released once the audio thread is done with them.
  void installSample(std::unique_ptr<SampleBuffer> buffer);
  // The preparing thread, holding the load mutex: the copy of the sample that Tuned sound plays
  // (at the session's rate and the pitch, played at speed 1), or null where the sample itself
  // plays. The copy before is released once the audio thread is done with it.
  void installPrepared(std::unique_ptr<SampleBuffer> prepared);

  // Pan, volume, length, pitch and swing: any thread, lock-free (the editor and a host's
  // automation may set them at the same time).
  void setPan(float pan);
  void setVolume(float volume);
  void setLengthFraction(float fraction);
  // The pitch counts for the frames rendered from now on; its pacing starts again at the next
  // block, and a new prepared copy is asked for. Any thread, the audio thread included: no
  // lock, no allocation.
  void setPitch(int8_t pitch) noexcept;
  void setSwing(bool swing) { swing_ = swing; }
  void setMuteState(uint32_t state) { muteState_ = state; }
  // kNoChokeGroup or 1..kChokeGroupCount; other values are ignored. Any thread, lock-free.
  void setChokeGroup(int group);
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
  int chokeGroup() const { return chokeGroup_; }
  bool isEmpty() const { return empty_; }
  bool isPreviewPlaying() const { return previewPlaying_; }
  uint32_t voicePosition() const { return voicePosition_; }
  uint32_t previewPosition() const { return previewPosition_; }
  const std::string& path() const { return path_; }
  const std::string& name() const { return name_; }
  // The path after its last separator.
  std::string fileNamePart() const;
  // The array being played (or null); only while no other thread replaces it.
  const SampleBuffer* sample() const { return buffer_.load(std::memory_order_seq_cst); }
  // The prepared copy (or null), and a number that changes with every new sample; under the
  // load mutex, which every replacement holds.
  const SampleBuffer* prepared() const { return prepared_.load(std::memory_order_seq_cst); }
  uint64_t sampleSerial() const { return sampleSerial_; }

  // Audio thread. ------------------------------------------------------------------------

  void setVoicePosition(uint32_t position) { voicePosition_ = position; }
  // Carries out a queued change of this holder's voice or preview.
  void carryOut(EngineCommand::Kind change) noexcept;
  // Starts the pitch's pacing again if the pitch changed since the last block.
  void restartPitchIfChanged() noexcept;
  // One frame of the preview, with pan and volume applied; silence while the holder is muted.
  StereoFrame previewFrame(SoundMode mode = SoundMode::Classic) noexcept;
  // The voice (no preview) over count frames with all its gains: the state is read once and
  // the position and pitch countdown are written back at the end.
  void renderVoice(SoundMode mode, const VoiceGains& gains, float* left, float* right, uint32_t count) noexcept;

 private:
  void replaceBuffer(SampleBuffer* next);
  // Stores a setting, then works out what follows from the settings (gains, end) until no
  // other thread changed a setting meanwhile: the last thread to write sees the settings last.
  template <typename Derive>
  void derive(Derive&& derived);
  void updateGains();
  // What the voice plays in a mode: Tuned plays the prepared copy at speed 1, or the sample
  // itself at speed 1 where it needs no copy (recorded at the session's rate, not pitched) or
  // the host has not told its rate yet.
  VoiceSource voiceSource(SoundMode mode) const noexcept;

  PreparationRequests& preparation_;
  const BlockEpoch& epoch_;
  CommandQueue& commands_;
  const uint8_t note_;
  std::string path_;
  std::string name_;
  SampleFileInfo fileInfo_;
  std::atomic<SampleBuffer*> buffer_{nullptr};
  std::atomic<SampleBuffer*> prepared_{nullptr};
  uint64_t sampleSerial_ = 0;  // under the load mutex
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
  // Tuned: the part of a frame the preview stands past its position, in 1/2^32 frames.
  Relaxed<uint32_t> previewFraction_{0};
  Relaxed<bool> empty_{true};
  Relaxed<bool> previewPlaying_{false};
  Relaxed<bool> swing_{false};
  Relaxed<uint32_t> muteState_{kNotMuted};
  Relaxed<uint8_t> chokeGroup_{kNoChokeGroup};
  Relaxed<uint8_t> pitchCountdown_{0};
  std::atomic<uint32_t> settingChanges_{0};
  std::atomic<bool> pitchChanged_{false};
};

}  // namespace engine
