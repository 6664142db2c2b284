#include "samples/SampleLoader.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "engine/Limits.h"
#include "platform/Files.h"
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

// A holder's sample holds at most ten minutes at the file's own rate, the rate counted as at
// most 192 kHz: a header may claim any length, and a few bytes of a compressed format can
// decode to gigabytes of silence.
constexpr int64_t kMaxSeconds = 10 * 60;
constexpr int64_t kMaxCountedRate = 192000;
// The first array holds this many frames more than the file's size in bytes could fill if
// every byte were a frame; compressed data that decodes to more makes it grow.
constexpr int64_t kFirstFramesBeyondFileSize = 65536;

// The frames the file claims, or nothing when they do not fit a holder (beyond the longest
// sample, or frames x channels beyond 32 bits).
std::optional<uint32_t> claimedFrames(const sndfile::Info& info) {
  constexpr int64_t kLimit = std::numeric_limits<uint32_t>::max();
  if (info.channels <= 0 || info.frames < 0 || info.sampleRate <= 0) return std::nullopt;
  if (info.frames > kMaxSeconds * std::min<int64_t>(info.sampleRate, kMaxCountedRate)) return std::nullopt;
  if (info.frames * info.channels > kLimit) return std::nullopt;
  return static_cast<uint32_t>(info.frames);
}

// Reads up to the claimed frames into an array that grows only as data arrives, so that a
// file delivering less than its header claims costs only what it delivers; the sample ends
// where the data ends. Null when memory cannot be had.
std::unique_ptr<engine::SampleBuffer> readFrames(const AudioFileFunctions& library, sndfile::SoundFile* file,
                                                 uint32_t claimed, uint32_t channels, uint64_t fileSize) {
  uint32_t capacity = static_cast<uint32_t>(
      std::min<uint64_t>(claimed, fileSize / channels + static_cast<uint64_t>(kFirstFramesBeyondFileSize)));
  std::unique_ptr<engine::SampleBuffer> buffer = engine::SampleBuffer::allocateUncleared(capacity, channels);
  uint64_t delivered = 0;  // items
  while (buffer) {
    const auto asked = static_cast<sndfile::Count>(uint64_t{capacity} * channels - delivered);
    const sndfile::Count read = asked > 0 ? library.readFloat(file, buffer->samples.get() + delivered, asked) : 0;
    delivered += static_cast<uint64_t>(std::clamp<sndfile::Count>(read, 0, asked));
    if (read < asked || capacity == claimed) break;
    capacity = static_cast<uint32_t>(std::min<uint64_t>(claimed, uint64_t{capacity} * 2));
    std::unique_ptr<engine::SampleBuffer> larger = engine::SampleBuffer::allocateUncleared(capacity, channels);
    if (larger) std::copy_n(buffer->samples.get(), delivered, larger->samples.get());
    buffer = std::move(larger);
  }
  if (buffer) buffer->frames = static_cast<uint32_t>(delivered / channels);
  return buffer;
}

// Reads the whole file into a new array, or tells the user why it cannot (null). The
// record receives what the library reports about the file.
std::unique_ptr<engine::SampleBuffer> readFile(const AudioFileFunctions& library, const std::string& path,
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
  const std::optional<uint32_t> frames = claimedFrames(info);
  std::unique_ptr<engine::SampleBuffer> buffer =
      frames ? readFrames(library, file.get(), *frames, static_cast<uint32_t>(info.channels), *fileSize) : nullptr;
  if (!buffer) {
    ShowLoadMessage(UnreadableFileText(path));
    return nullptr;
  }
  info.frames = buffer->frames;
  return buffer;
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
  std::unique_ptr<engine::SampleBuffer> buffer = readFile(*library, path, info);
  if (!buffer) return false;

  holder.fileInfo() = info;
  holder.installSample(std::move(buffer));
  if (audition) holder.startPreview();
  return true;
}

}  // namespace samples
