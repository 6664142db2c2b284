// Loading a long sample into a holder, next to the bare library read of the same file: the
// loader's own work (its array, installing it, releasing the previous one) should cost
// little beside the decoding.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "engine/Kit.h"
#include "samples/SampleLoader.h"

namespace {

constexpr int kSampleRate = 48000;
constexpr int kSeconds = 60;
constexpr int kChannels = 2;

// A 60-second stereo 16-bit WAV, written once per run and removed at exit.
class LongWav {
 public:
  LongWav()
      : path_((std::filesystem::temp_directory_path() / ("kh-bench-" + std::to_string(::getpid()) + ".wav")).string()) {
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = kChannels;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path_.c_str(), SFM_WRITE, &info);
    std::vector<float> second(static_cast<size_t>(kSampleRate) * kChannels);
    for (int frame = 0; frame < kSampleRate; ++frame) {
      const auto value = static_cast<float>(0.5 * std::sin(2.0 * std::numbers::pi * 220.0 * frame / kSampleRate));
      second[static_cast<size_t>(frame) * 2] = value;
      second[static_cast<size_t>(frame) * 2 + 1] = -value;
    }
    for (int count = 0; count < kSeconds; ++count) sf_writef_float(file, second.data(), kSampleRate);
    sf_close(file);
  }
  ~LongWav() { std::remove(path_.c_str()); }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

const std::string& LongWavPath() {
  static const LongWav wav;
  return wav.path();
}

void BM_BareSfReadFloat(benchmark::State& state) {
  const std::string& path = LongWavPath();
  for (auto _ : state) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_TRUE);
    const sf_count_t items = info.frames * info.channels;
    std::unique_ptr<float[]> samples(new float[static_cast<size_t>(items)]);
    benchmark::DoNotOptimize(sf_read_float(file, samples.get(), items));
    sf_close(file);
    benchmark::DoNotOptimize(samples.get());
  }
}
BENCHMARK(BM_BareSfReadFloat)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

void BM_LoadSampleIntoHolder(benchmark::State& state) {
  const std::string& path = LongWavPath();
  engine::Kit kit;
  for (auto _ : state) {
    if (!samples::LoadSample(kit, engine::kFirstNote, path, false)) state.SkipWithError("load failed");
  }
}
BENCHMARK(BM_LoadSampleIntoHolder)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(2.0);

}  // namespace
