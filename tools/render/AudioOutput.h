// Where the rendered blocks go: one or more audio files written through libsndfile, laid out
// as the stereo sum, all outputs, or one stereo file per output pair. Files appear under
// their names only when finish() succeeds.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Options.h"

namespace render {

class AudioOutput {
 public:
  // Opens every file of the layout (under temporary names) for the coming number of frames;
  // throws Failure(OutputUnwritable).
  AudioOutput(const std::string& path, OutputLayout layout, int32_t outputCount, int sampleRate, int64_t frames);
  ~AudioOutput();
  AudioOutput(const AudioOutput&) = delete;
  AudioOutput& operator=(const AudioOutput&) = delete;

  // Appends one block of the plug-in's outputs; throws Failure(OutputUnwritable), or
  // Failure(RenderFailed) for audio that is not finite.
  void write(const std::vector<std::vector<float>>& outputs, int32_t frames);
  // Completes the files and gives them their names.
  void finish();

  // The files this output produces, in order.
  const std::vector<std::string>& paths() const { return paths_; }

  // OUTPUT-01.wav for the first output pair of OUTPUT.wav, and so on.
  static std::string pairFileName(const std::string& path, int pair);

  // One file of the layout: float WAV or 24-bit FLAC.
  class File;

 private:
  OutputLayout layout_;
  std::vector<std::string> paths_;
  std::vector<std::unique_ptr<File>> files_;
  std::vector<float> interleaved_;
  std::vector<float> left_;
  std::vector<float> right_;
  std::vector<const float*> sources_;
  int64_t framesWritten_ = 0;
};

}  // namespace render
