#include "AudioOutput.h"

#include <sndfile.h>

#include <cstdio>

#include "Failure.h"
#include "PendingFile.h"

namespace render {
namespace {

// What the 32-bit sizes of a WAV file can describe, less room for its header chunks.
constexpr int64_t kWavDataLimit = (int64_t{1} << 32) - (int64_t{1} << 16);

}  // namespace

// One audio file being written under its temporary name.
class AudioOutput::File {
 public:
  File(const std::string& path, int channels, int sampleRate, int64_t frames) : pending_(path) {
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    // WAV keeps the plug-in's float samples exactly; FLAC is integer only. Data beyond a
    // plain WAV file's 4 GiB goes into its 64-bit variant, RF64.
    const bool fitsWav = frames * channels * static_cast<int64_t>(sizeof(float)) < kWavDataLimit;
    info.format = ExtensionOf(path) == ".flac" ? (SF_FORMAT_FLAC | SF_FORMAT_PCM_24)
                                               : ((fitsWav ? SF_FORMAT_WAV : SF_FORMAT_RF64) | SF_FORMAT_FLOAT);
    file_ = sf_open_fd(pending_.descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (file_ == nullptr) fail(sf_strerror(nullptr));
  }
  ~File() {
    if (file_ != nullptr) sf_close(file_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  void write(const float* interleaved, int32_t frames) {
    if (sf_writef_float(file_, interleaved, frames) != frames) fail(sf_strerror(file_));
  }

  void finish() {
    const int result = sf_close(file_);
    file_ = nullptr;
    if (result != 0) fail(sf_error_number(result));
    pending_.commit();
  }

 private:
  [[noreturn]] void fail(const char* reason) {
    throw Failure(ExitCode::OutputUnwritable, "Cannot write " + pending_.target() + ": " + reason);
  }

  PendingFile pending_;
  SNDFILE* file_ = nullptr;
};

AudioOutput::AudioOutput(const std::string& path, OutputLayout layout, int32_t outputCount, int sampleRate,
                         int64_t frames)
    : layout_(layout), outputCount_(outputCount) {
  switch (layout) {
    case OutputLayout::StereoSum:
    case OutputLayout::AllOutputs:
      paths_.push_back(path);
      break;
    case OutputLayout::PerHolder:
      for (int pair = 0; pair < outputCount / 2; ++pair) paths_.push_back(PairFileName(path, pair + 1));
      break;
  }
  const int channels = layout == OutputLayout::AllOutputs ? outputCount : 2;
  for (const std::string& file : paths_) files_.push_back(std::make_unique<File>(file, channels, sampleRate, frames));
}

AudioOutput::~AudioOutput() = default;

std::string AudioOutput::PairFileName(const std::string& path, int pair) {
  char number[8];
  std::snprintf(number, sizeof number, "-%02d", pair);
  const auto slash = path.find_last_of('/');
  auto dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  return path.substr(0, dot) + number + path.substr(dot);
}

void AudioOutput::write(const std::vector<std::vector<float>>& outputs, int32_t frames) {
  const auto frameCount = static_cast<size_t>(frames);
  switch (layout_) {
    case OutputLayout::StereoSum:
      interleaved_.assign(2 * frameCount, 0.0f);
      for (int32_t output = 0; output < outputCount_; ++output) {
        const size_t side = static_cast<size_t>(output % 2);
        for (size_t f = 0; f < frameCount; ++f) interleaved_[2 * f + side] += outputs[static_cast<size_t>(output)][f];
      }
      files_.front()->write(interleaved_.data(), frames);
      break;
    case OutputLayout::AllOutputs: {
      const auto channels = static_cast<size_t>(outputCount_);
      interleaved_.resize(channels * frameCount);
      for (size_t f = 0; f < frameCount; ++f) {
        for (size_t c = 0; c < channels; ++c) interleaved_[f * channels + c] = outputs[c][f];
      }
      files_.front()->write(interleaved_.data(), frames);
      break;
    }
    case OutputLayout::PerHolder:
      interleaved_.resize(2 * frameCount);
      for (size_t pair = 0; pair < files_.size(); ++pair) {
        for (size_t f = 0; f < frameCount; ++f) {
          interleaved_[2 * f] = outputs[2 * pair][f];
          interleaved_[2 * f + 1] = outputs[2 * pair + 1][f];
        }
        files_[pair]->write(interleaved_.data(), frames);
      }
      break;
  }
}

void AudioOutput::finish() {
  for (auto& file : files_) file->finish();
}

}  // namespace render
