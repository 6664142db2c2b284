#include "samples/SampleLoader.h"

#include <algorithm>
#include <limits>
#include <memory>
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

// An array for the whole file, or null when its size does not fit a holder (frames and
// frames x channels must fit 32 bits) or the memory cannot be had. The read fills it.
std::unique_ptr<engine::SampleBuffer> allocateFor(const sndfile::Info& info) {
  constexpr int64_t kLimit = std::numeric_limits<uint32_t>::max();
  if (info.channels <= 0 || info.frames < 0 || info.frames > kLimit) return nullptr;
  if (info.frames * info.channels > kLimit) return nullptr;
  return engine::SampleBuffer::allocateUncleared(static_cast<uint32_t>(info.frames),
                                                 static_cast<uint32_t>(info.channels));
}

// Reads the whole file into a new array, or tells the user why it cannot (null). The
// record receives what the library reports about the file.
std::unique_ptr<engine::SampleBuffer> readFile(const AudioFileFunctions& library, const std::string& path,
                                               sndfile::Info& info) {
  if (platform::PathIsTooLong(path)) {
    platform::ShowMessage(kSampleLoadErrorCaption, UnreadableFileText(path));
    return nullptr;
  }
  const OpenFile file(library, library.open(path.c_str(), sndfile::kModeRead, &info));
  if (file.get() == nullptr) {
    platform::ShowMessage(kSampleLoadErrorCaption, OpenFailureText(path));
    return nullptr;
  }
  // The request answers the setting it replaces, which for a freshly opened file is already
  // on (1); any other answer refuses the file without a message.
  if (library.command(file.get(), sndfile::kCommandSetNormFloat, nullptr, sndfile::kTrue) != 1) return nullptr;
  std::unique_ptr<engine::SampleBuffer> buffer = allocateFor(info);
  if (!buffer) {
    platform::ShowMessage(kSampleLoadErrorCaption, UnreadableFileText(path));
    return nullptr;
  }
  const sndfile::Count items = static_cast<sndfile::Count>(buffer->frames) * buffer->channels;
  // One read for the whole file. A file that delivers less than its header promised keeps
  // its length, and the part it did not deliver is silence.
  const sndfile::Count delivered = items > 0 ? library.readFloat(file.get(), buffer->samples.get(), items) : 0;
  std::fill(buffer->samples.get() + std::clamp<sndfile::Count>(delivered, 0, items), buffer->samples.get() + items,
            0.0f);
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
