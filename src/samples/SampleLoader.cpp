#include "samples/SampleLoader.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>
#include <optional>
#include <utility>

#include "engine/Limits.h"
#include "platform/Files.h"
#include "platform/Messages.h"
#include "samples/AudioFileLibrary.h"
#include "samples/LoadMessages.h"

namespace samples {
namespace {

// Closes the file however the load ends.
class OpenFile {
 public:
  OpenFile(const AudioFileFunctions& library, sndfile::SoundFile* file) : library_(library), file_(file) {}
  ~OpenFile() {
    if (file_ != nullptr) library_.close(file_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  sndfile::SoundFile* get() const { return file_; }

 private:
  const AudioFileFunctions& library_;
  sndfile::SoundFile* file_;
};

// A holder's sample takes at most this much memory, whatever the file's length, rate and
// channels: a header may claim any length, and a few kilobytes of a compressed format can
// decode to gigabytes of silence. 256 MB of floats is about 11 minutes of stereo at 48 kHz.
constexpr uint64_t kLargestSampleBytes = uint64_t{256} << 20;
// Playback plays the first two channels of a file with more; only those are kept.
constexpr uint32_t kMostChannelsKept = 2;
// Values beyond this (about +60 dBFS), infinities and not-a-numbers are damage, not audio:
// summed into a host's mix they would poison everything after it. They load as silence.
constexpr float kLargestMagnitude = 1000.0f;
// The file is decoded in pieces of about this many items, of which the kept channels are copied.
constexpr uint32_t kPieceItems = 65536;
// The first array holds this many frames more than the file's size in bytes could fill if
// every byte were a frame; compressed data that decodes to more makes it grow.
constexpr uint64_t kFirstFramesBeyondFileSize = 65536;

struct Decoded {
  std::unique_ptr<engine::SampleBuffer> buffer;  // null when memory cannot be had
  uint64_t silenced = 0;                         // values that were no audio, loaded as 0
};

// Copies the first kept channels of each frame; a value that is no audio becomes silence and
// is counted.
uint64_t CopyKeptChannels(const float* from, uint32_t fileChannels, float* to, uint32_t kept, uint32_t frames) {
  uint64_t silenced = 0;
  for (size_t frame = 0; frame < frames; ++frame) {
    for (size_t channel = 0; channel < kept; ++channel) {
      float value = from[frame * fileChannels + channel];
      if (!(std::fabs(value) <= kLargestMagnitude)) {  // true for not-a-number too
        value = 0.0f;
        ++silenced;
      }
      to[frame * kept + channel] = value;
    }
  }
  return silenced;
}

// Reads up to the claimed frames, piece by piece, into an array that grows only as data
// arrives, so that a file delivering less than its header claims costs only what it
// delivers; the sample ends where the data ends.
Decoded ReadFrames(const AudioFileFunctions& library, sndfile::SoundFile* file, uint32_t claimed, uint32_t fileChannels,
                   uint64_t fileSize) {
  const uint32_t kept = std::min(fileChannels, kMostChannelsKept);
  const uint32_t pieceFrames = std::max<uint32_t>(1, kPieceItems / fileChannels);
  const std::unique_ptr<float[]> piece(new (std::nothrow) float[size_t{pieceFrames} * fileChannels]);
  if (!piece) return {};
  auto capacity =
      static_cast<uint32_t>(std::min<uint64_t>(claimed, fileSize / fileChannels + kFirstFramesBeyondFileSize));
  Decoded decoded{engine::SampleBuffer::allocateUncleared(capacity, kept)};
  uint32_t frames = 0;
  while (decoded.buffer && frames < claimed) {
    if (frames == capacity) {
      capacity = static_cast<uint32_t>(std::min<uint64_t>(claimed, uint64_t{capacity} * 2));
      std::unique_ptr<engine::SampleBuffer> larger = engine::SampleBuffer::allocateUncleared(capacity, kept);
      if (larger) std::copy_n(decoded.buffer->samples.get(), size_t{frames} * kept, larger->samples.get());
      decoded.buffer = std::move(larger);
      if (!decoded.buffer) break;
    }
    const uint32_t asked = std::min(pieceFrames, capacity - frames);
    const auto askedItems = static_cast<sndfile::Count>(uint64_t{asked} * fileChannels);
    const sndfile::Count read = library.readFloat(file, piece.get(), askedItems);
    // A frame cut short at the end of the data is left out.
    const auto delivered = static_cast<uint32_t>(std::clamp<sndfile::Count>(read, 0, askedItems) / fileChannels);
    decoded.silenced += CopyKeptChannels(piece.get(), fileChannels,
                                         decoded.buffer->samples.get() + size_t{frames} * kept, kept, delivered);
    frames += delivered;
    if (delivered < asked) break;
  }
  if (decoded.buffer) decoded.buffer->frames = frames;
  return decoded;
}

// Reads the whole file into a new array, or tells the user why it cannot (null). The
// record receives what the library reports about the file.
std::unique_ptr<engine::SampleBuffer> ReadFile(const AudioFileFunctions& library, const std::string& path,
                                               sndfile::Info& info) {
  if (platform::PathIsTooLong(path)) {
    ShowLoadMessage(UnreadableFileText(path));
    return nullptr;
  }
  // Only a regular file is opened: opening a pipe or a device could block for ever.
  const std::optional<uint64_t> fileSize = platform::ReadableFileSize(path);
  const OpenFile file(library, fileSize ? library.open(path.c_str(), sndfile::kModeRead, &info) : nullptr);
  if (file.get() == nullptr) {
    ShowLoadMessage(OpenFailureText(path));
    return nullptr;
  }
  // The request answers the setting it replaces, which for a freshly opened file is already
  // on (1); any other answer refuses the file without a message.
  if (library.command(file.get(), sndfile::kCommandSetNormFloat, nullptr, sndfile::kTrue) != 1) return nullptr;
  if (info.channels <= 0 || info.frames < 0 || info.sampleRate <= 0) {
    ShowLoadMessage(UnreadableFileText(path));
    return nullptr;
  }
  // Told from the header, before anything is decoded: a file longer than a holder takes is
  // refused at once.
  const auto channels = static_cast<uint32_t>(info.channels);
  const uint64_t largestFrames = kLargestSampleBytes / (sizeof(float) * std::min(channels, kMostChannelsKept));
  if (static_cast<uint64_t>(info.frames) > largestFrames) {
    ShowLoadMessage(TooLongText(path, kLargestSampleBytes));
    return nullptr;
  }
  Decoded decoded = ReadFrames(library, file.get(), static_cast<uint32_t>(info.frames), channels, *fileSize);
  if (!decoded.buffer) {
    ShowLoadMessage(UnreadableFileText(path));
    return nullptr;
  }
  if (decoded.silenced > 0) {
    platform::ShowMessage(kSampleWarningCaption, SilencedSamplesText(path, decoded.silenced, kLargestMagnitude));
  }
  info.frames = decoded.buffer->frames;
  decoded.buffer->sampleRate = info.sampleRate;
  return std::move(decoded.buffer);
}

}  // namespace

bool LoadSample(engine::Kit& kit, uint8_t note, std::string path, bool audition) {
  if (note >= engine::kNoteCount) return false;
  engine::SampleHolder& holder = kit.holder(note);
  return LoadFile(holder, holder.name(), std::move(path), audition);
}

bool LoadFile(engine::SampleHolder& holder, std::string name, std::string path, bool audition) {
  const AudioFileFunctions* library = AudioFileLibrary();
  if (library == nullptr) return false;
  // Refused before anything is recorded: a project saved afterwards could not be read back.
  if (!engine::IsStorablePath(path)) {
    ShowLoadMessage(UnstorablePathText(path));
    return false;
  }
  holder.setPath(path);
  holder.setName(std::move(name));

  // A fresh record: the library expects a cleared format field when it opens a file for
  // reading, and the holder's record keeps describing its sample until a new one is in place.
  sndfile::Info info{};
  std::unique_ptr<engine::SampleBuffer> buffer = ReadFile(*library, path, info);
  if (!buffer) return false;

  holder.fileInfo() = info;
  holder.installSample(std::move(buffer));
  if (audition) holder.startPreview();
  return true;
}

}  // namespace samples
