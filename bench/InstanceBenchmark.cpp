// Creating an effect as a host does when it adds the instrument: in the bundle folder, so the
// default preset (and with it the factory kit's samples) is loaded; no editor is opened.
// Reports the time per instance and, in a second scene, the memory each further instance adds,
// playing in Classic or in Tuned sound, in a session of 48 kHz (the factory kit's rate: Tuned
// plays the samples themselves) or 44.1 kHz (Tuned keeps a prepared copy of each sample).
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "editor/BuiltInSkin.h"
#include "plugin/Vst.h"
#include "toolkit/Resources.h"
#include "vst/VstInterface.h"

namespace {

intptr_t Host(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  return opcode == vst::audioMasterVersion ? 2400 : 0;
}

std::unique_ptr<plugin::Vst> NewInstance() {
  return std::make_unique<plugin::Vst>(&Host, plugin::EffectEnvironment{KH_BUNDLE_DIR, {}});
}

double ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

void CreateInstanceWithDefaultPreset(benchmark::State& state) {
  NewInstance();  // the first instance of a process pays for what is made once per process
  for (auto _ : state) benchmark::DoNotOptimize(NewInstance());
}
BENCHMARK(CreateInstanceWithDefaultPreset)->Unit(benchmark::kMillisecond);

// The first instance of a process, which also pays for what is made once per process: the
// built-in images are forgotten before each one.
void CreateFirstInstanceOfAProcess(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    toolkit::SetResourceSource(editor::BuiltInResource);
    state.ResumeTiming();
    benchmark::DoNotOptimize(NewInstance());
  }
}
BENCHMARK(CreateFirstInstanceOfAProcess)->Unit(benchmark::kMillisecond);

std::unique_ptr<plugin::Vst> PlayingInstance(engine::SoundMode mode, float sampleRate) {
  std::unique_ptr<plugin::Vst> instance = NewInstance();
  instance->instrument().setSoundMode(mode);
  instance->setSampleRate(sampleRate);
  instance->instrument().waitUntilPrepared();
  return instance;
}

// The instances stay until the process ends: memory that was freed would be used again and
// hide what an instance costs.
void ResidentMemoryPerExtraInstance(benchmark::State& state) {
  constexpr int kInstances = 16;
  const auto mode = static_cast<engine::SoundMode>(state.range(0));
  const auto sampleRate = static_cast<float>(state.range(1));
  static std::vector<std::unique_ptr<plugin::Vst>> instances;
  if (instances.empty()) instances.push_back(PlayingInstance(mode, sampleRate));
  double added = 0.0;
  for (auto _ : state) {
    const double before = ResidentBytes();
    for (int index = 0; index < kInstances; ++index) instances.push_back(PlayingInstance(mode, sampleRate));
    added = (ResidentBytes() - before) / kInstances;
  }
  state.counters["MB_per_instance"] = added / 1e6;
  state.SetLabel(mode == engine::SoundMode::Tuned ? "Tuned" : "Classic");
}
BENCHMARK(ResidentMemoryPerExtraInstance)
    ->ArgNames({"tuned", "rate"})
    ->ArgsProduct({{static_cast<int64_t>(engine::SoundMode::Classic), static_cast<int64_t>(engine::SoundMode::Tuned)},
                   {48000, 44100}})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
