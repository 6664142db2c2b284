// Audio files that tests make for themselves with libsndfile, in a folder of their own, and
// what a holder made of them.
#pragma once

#include <sndfile.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/SampleHolder.h"

namespace sampletest {

// A fresh, empty folder for this test process, removed with the object.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // The path of a file in the folder.
  std::string path(const std::string& name) const { return (folder_ / name).string(); }

 private:
  std::filesystem::path folder_;
};

// Frames of a recognisable signal: channel c of frame f is (f % 100 + 1) / 200 + c / 4, so every
// value tells which frame and channel it came from.
std::vector<float> TestSignal(int frames, int channels);
float TestValue(int frame, int channel);

// Writes the interleaved samples; format is a libsndfile major | subtype, e.g. SF_FORMAT_WAV | SF_FORMAT_FLOAT.
void WriteSoundFile(const std::string& path, int format, int channels, const std::vector<float>& samples,
                    int sampleRate = 48000);
// Writes the signal as a 32-bit float WAV and returns the path.
std::string WriteTestWav(const ScratchFolder& folder, const std::string& name, int frames, int channels);
// A file that no audio library recognises.
void WriteGarbage(const std::string& path);
// The whole file, read back as interleaved floats.
std::vector<float> ReadSoundFile(const std::string& path, SF_INFO& info);

// Every item of the holder's sample array, or none when it is empty.
std::vector<float> HolderSamples(const engine::SampleHolder& holder);

// Rewrites the total-samples field of a FLAC file's stream information, so that its header
// promises another number of frames than the file holds.
void SetFlacFrameCount(const std::string& path, uint64_t frames);

}  // namespace sampletest
