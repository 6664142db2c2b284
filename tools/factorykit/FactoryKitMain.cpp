// Writes the factory kit: one WAV file per holder into the folder given on the command line.
#include <sndfile.h>

#include <cstdio>
#include <string>

#include "tools/factorykit/DrumSynth.h"
#include "tools/factorykit/FactoryKit.h"
#include "tools/factorykit/SynthBlocks.h"

namespace {

bool WriteSound(const std::string& path, const factorykit::Sound& sound) {
  SF_INFO info{};
  info.samplerate = factorykit::kSampleRate;
  info.channels = sound.channels;
  info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_24;
  SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "factory kit: cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
    return false;
  }
  const sf_count_t written = sf_writef_float(file, sound.samples.data(), sound.frames());
  const bool closed = sf_close(file) == 0;
  return written == sound.frames() && closed;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
    return 2;
  }
  const std::string folder = std::string(argv[1]) + "/";
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    if (!WriteSound(folder + factorykit::kFileNames[holder], factorykit::SynthesiseDrum(holder))) return 1;
  }
  return 0;
}
