#include "AudioOutput.h"

#include <sndfile.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>

#include "Failure.h"
#include "PendingFile.h"
#include "platform/Messages.h"

namespace render {
namespace {

// What the 32-bit sizes of a WAV file can describe, less room for its header chunks.
constexpr int64_t kWavDataLimit = (int64_t{1} << 32) - (int64_t{1} << 16);
// Bytes gathered before they go to the disk.
constexpr size_t kWriteBufferBytes = size_t{1} << 16;

static_assert(std::endian::native == std::endian::little, "WAV samples are written as they lie in memory");

void AppendLittleEndian(std::string& bytes, uint64_t value, int count) {
  for (int i = 0; i < count; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// The loops below go eight samples at a time: an inner loop of fixed length over arrays that
// cannot overlap is what the compiler turns into vector instructions at our optimisation level.
constexpr size_t kLanes = 8;

// target[i] += source[i].
void AddTo(float* __restrict target, const float* __restrict source, size_t count) {
  size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    for (size_t k = 0; k < kLanes; ++k) target[i + k] += source[i + k];
  }
  for (; i < count; ++i) target[i] += source[i];
}

void InterleavePair(const float* __restrict left, const float* __restrict right, float* __restrict stereo,
                    size_t frames) {
  size_t f = 0;
  for (; f + kLanes <= frames; f += kLanes) {
    for (size_t k = 0; k < kLanes; ++k) {
      stereo[2 * (f + k)] = left[f + k];
      stereo[2 * (f + k) + 1] = right[f + k];
    }
  }
  for (; f < frames; ++f) {
    stereo[2 * f] = left[f];
    stereo[2 * f + 1] = right[f];
  }
}

// The index of the first value that is not finite (NaN or infinity), or count when all are.
// x - x is 0 for a finite x and NaN otherwise; the lanes sum it, and NaN stays NaN.
size_t FirstNotFinite(const float* __restrict values, size_t count) {
  float lanes[kLanes] = {};
  size_t i = 0;
  for (; i + kLanes <= count; i += kLanes) {
    for (size_t k = 0; k < kLanes; ++k) lanes[k] += values[i + k] - values[i + k];
  }
  for (size_t k = 0; k < kLanes; ++k) lanes[0] += lanes[k];
  for (; i < count; ++i) lanes[0] += values[i] - values[i];
  if (lanes[0] == 0.0f) return count;
  return static_cast<size_t>(std::find_if(values, values + count, [](float value) { return !std::isfinite(value); }) -
                             values);
}

}  // namespace

// One audio file being written under its temporary name.
class AudioOutput::File {
 public:
  explicit File(const std::string& path) : pending_(path) {}
  virtual ~File() = default;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  virtual void write(const float* interleaved, int32_t frames) = 0;
  // Completes the file and gives it its name.
  virtual void finish() = 0;

 protected:
  [[noreturn]] void fail(const std::string& reason) {
    throw Failure(ExitCode::OutputUnwritable, "Cannot write " + pending_.target() + ": " + reason);
  }

  PendingFile pending_;
};

namespace {

// 32-bit float WAV, written by us: libsndfile leaves out the two bytes that close a float
// format's fmt chunk (its extension size), and common readers warn about it. Data beyond a
// plain WAV file's 4 GiB goes into the 64-bit variant, RF64.
class FloatWavFile : public AudioOutput::File {
 public:
  FloatWavFile(const std::string& path, int channels, int sampleRate, int64_t frames)
      : File(path),
        channels_(channels),
        sampleRate_(sampleRate),
        rf64_(frames * channels * static_cast<int64_t>(sizeof(float)) >= kWavDataLimit) {
    // A header of the final size now; it is written again with the sizes at the end.
    const std::string header = this->header();
    pending_.append(header.data(), header.size());
    buffer_.reserve(kWriteBufferBytes);
  }

  void write(const float* interleaved, int32_t frames) override {
    const auto bytes = reinterpret_cast<const char*>(interleaved);
    buffer_.insert(buffer_.end(), bytes,
                   bytes + static_cast<size_t>(frames) * static_cast<size_t>(channels_) * sizeof(float));
    frames_ += frames;
    if (buffer_.size() >= kWriteBufferBytes) flush();
  }

  void finish() override {
    flush();
    const std::string header = this->header();
    pending_.overwriteStart(header.data(), header.size());
    pending_.commit();
  }

 private:
  void flush() {
    pending_.append(buffer_.data(), buffer_.size());
    buffer_.clear();
  }

  // RIFF (or RF64 with its ds64 chunk of 64-bit sizes), fmt with the extension size 0, fact
  // with the frame count, and the data chunk's header.
  std::string header() const {
    const uint64_t dataBytes = static_cast<uint64_t>(frames_) * static_cast<uint64_t>(channels_) * sizeof(float);
    const uint64_t frameBytes = static_cast<uint64_t>(channels_) * sizeof(float);
    constexpr uint64_t kDs64Chunk = 8 + 28;
    const uint64_t riffBytes = 4 + (rf64_ ? kDs64Chunk : 0) + (8 + 18) + (8 + 4) + 8 + dataBytes;
    constexpr uint64_t kUseDs64 = 0xFFFFFFFF;
    std::string bytes = rf64_ ? "RF64" : "RIFF";
    AppendLittleEndian(bytes, rf64_ ? kUseDs64 : riffBytes, 4);
    bytes += "WAVE";
    if (rf64_) {
      bytes += "ds64";
      AppendLittleEndian(bytes, 28, 4);
      AppendLittleEndian(bytes, riffBytes, 8);
      AppendLittleEndian(bytes, dataBytes, 8);
      AppendLittleEndian(bytes, static_cast<uint64_t>(frames_), 8);
      AppendLittleEndian(bytes, 0, 4);  // no table of other chunk sizes
    }
    bytes += "fmt ";
    AppendLittleEndian(bytes, 18, 4);
    AppendLittleEndian(bytes, 3, 2);  // IEEE float
    AppendLittleEndian(bytes, static_cast<uint64_t>(channels_), 2);
    AppendLittleEndian(bytes, static_cast<uint64_t>(sampleRate_), 4);
    AppendLittleEndian(bytes, static_cast<uint64_t>(sampleRate_) * frameBytes, 4);
    AppendLittleEndian(bytes, frameBytes, 2);
    AppendLittleEndian(bytes, 8 * sizeof(float), 2);
    AppendLittleEndian(bytes, 0, 2);  // the extension size
    bytes += "fact";
    AppendLittleEndian(bytes, 4, 4);
    AppendLittleEndian(bytes, rf64_ ? kUseDs64 : static_cast<uint64_t>(frames_), 4);
    bytes += "data";
    AppendLittleEndian(bytes, rf64_ ? kUseDs64 : dataBytes, 4);
    return bytes;
  }

  int channels_;
  int sampleRate_;
  bool rf64_;
  int64_t frames_ = 0;
  std::vector<char> buffer_;
};

// 24-bit FLAC through libsndfile. Samples beyond full scale are clipped, counted, and the user
// is told when the file is complete.
class FlacFile : public AudioOutput::File {
 public:
  FlacFile(const std::string& path, int channels, int sampleRate) : File(path) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
    file_ = sf_open_fd(pending_.descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (file_ == nullptr) fail(sf_strerror(nullptr));
    // Without it the encoder refuses out-of-range samples, and libsndfile gives no reason.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    channels_ = static_cast<size_t>(channels);
  }
  ~FlacFile() override {
    if (file_ != nullptr) sf_close(file_);
  }

  void write(const float* interleaved, int32_t frames) override {
    const size_t count = static_cast<size_t>(frames) * channels_;
    for (size_t i = 0; i < count; ++i) {
      const float magnitude = std::abs(interleaved[i]);
      peak_ = std::max(peak_, magnitude);
      clipped_ += magnitude > 1.0f ? 1 : 0;
    }
    const sf_count_t written = sf_writef_float(file_, interleaved, frames);
    if (written != frames) {
      fail(sf_error(file_) != SF_ERR_NO_ERROR
               ? std::string(sf_strerror(file_))
               : "the encoder took " + std::to_string(written) + " of " + std::to_string(frames) + " frames");
    }
  }

  void finish() override {
    const int result = sf_close(file_);
    file_ = nullptr;
    if (result != 0) fail(sf_error_number(result));
    pending_.commit();
    if (clipped_ > 0) {
      char peak[32];
      std::snprintf(peak, sizeof peak, "%+.1f dBFS", 20.0 * std::log10(peak_));
      platform::ShowMessage("Warning", pending_.target() + " peaks at " + peak + ": " + std::to_string(clipped_) +
                                           " samples were clipped to full scale");
    }
  }

 private:
  SNDFILE* file_ = nullptr;
  size_t channels_ = 2;
  float peak_ = 0.0f;
  int64_t clipped_ = 0;
};

}  // namespace

AudioOutput::AudioOutput(const std::string& path, OutputLayout layout, int32_t outputCount, int sampleRate,
                         int64_t frames)
    : layout_(layout) {
  switch (layout) {
    case OutputLayout::StereoSum:
    case OutputLayout::AllOutputs:
      paths_.push_back(path);
      break;
    case OutputLayout::PerHolder:
      for (int pair = 0; pair < outputCount / 2; ++pair) paths_.push_back(pairFileName(path, pair + 1));
      break;
  }
  const int channels = layout == OutputLayout::AllOutputs ? outputCount : 2;
  for (const std::string& file : paths_) {
    if (ExtensionOf(file) == ".flac") {
      files_.push_back(std::make_unique<FlacFile>(file, channels, sampleRate));
    } else {
      files_.push_back(std::make_unique<FloatWavFile>(file, channels, sampleRate, frames));
    }
  }
}

AudioOutput::~AudioOutput() = default;

std::string AudioOutput::pairFileName(const std::string& path, int pair) {
  char number[8];
  std::snprintf(number, sizeof number, "-%02d", pair);
  const auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  return path.substr(0, dot) + number + path.substr(dot);
}

void AudioOutput::write(const std::vector<std::vector<float>>& outputs, int32_t frames) {
  const auto frameCount = static_cast<size_t>(frames);
  // Audio that is not finite is the plug-in's fault, not the file's, and it would poison
  // whatever plays or mixes the file: the render fails and says so.
  for (size_t output = 0; output < outputs.size(); ++output) {
    if (const size_t frame = FirstNotFinite(outputs[output].data(), frameCount); frame < frameCount) {
      throw Failure(ExitCode::RenderFailed, "The plug-in's output " + std::to_string(output + 1) +
                                                " is not finite (NaN or infinity) at frame " +
                                                std::to_string(framesWritten_ + static_cast<int64_t>(frame)));
    }
  }
  framesWritten_ += frames;
  switch (layout_) {
    case OutputLayout::StereoSum:
      // Summed side by side, each output a straight run over the block, then interleaved once.
      left_.assign(frameCount, 0.0f);
      right_.assign(frameCount, 0.0f);
      for (size_t output = 0; output < outputs.size(); ++output) {
        AddTo((output % 2 == 0 ? left_ : right_).data(), outputs[output].data(), frameCount);
      }
      interleaved_.resize(2 * frameCount);
      InterleavePair(left_.data(), right_.data(), interleaved_.data(), frameCount);
      files_.front()->write(interleaved_.data(), frames);
      break;
    case OutputLayout::AllOutputs: {
      // Frame by frame, so the file's buffer fills front to back from one pointer per output.
      const size_t channels = outputs.size();
      sources_.resize(channels);
      for (size_t c = 0; c < channels; ++c) sources_[c] = outputs[c].data();
      interleaved_.resize(channels * frameCount);
      float* target = interleaved_.data();
      for (size_t f = 0; f < frameCount; ++f) {
        for (size_t c = 0; c < channels; ++c) *target++ = sources_[c][f];
      }
      files_.front()->write(interleaved_.data(), frames);
      break;
    }
    case OutputLayout::PerHolder:
      interleaved_.resize(2 * frameCount);
      for (size_t pair = 0; pair < files_.size(); ++pair) {
        InterleavePair(outputs[2 * pair].data(), outputs[2 * pair + 1].data(), interleaved_.data(), frameCount);
        files_[pair]->write(interleaved_.data(), frames);
      }
      break;
  }
}

void AudioOutput::finish() {
  for (auto& file : files_) file->finish();
}

}  // namespace render
