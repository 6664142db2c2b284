// Saving and restoring the whole state through the chunk interface, with every pattern
// differing from the default (all 288 pattern records). Samples are not loaded: the loader
// is replaced by one that does nothing, so only the text work is measured.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "plugin/Vst.h"

namespace {

std::unique_ptr<plugin::Vst> FullEffect() {
  // A folder without presets, and a loader that loads nothing.
  auto effect = std::make_unique<plugin::Vst>(
      nullptr, plugin::EffectEnvironment{"/nonexistent-kestrelhollow-bench/",
                                         [](engine::Kit&, uint8_t, const std::string&) { return true; }});
  engine::DrumEngine& engine = effect->engine();
  for (int index = 0; index < engine::kHolderCount; ++index) {
    engine::SampleHolder& holder = engine.kit().holder(static_cast<uint8_t>(engine::kFirstNote + index));
    holder.setName("Holder " + std::to_string(index));
    holder.setPath(effect->samplesFolder() + "Factory/Sound" + std::to_string(index) + ".wav");
  }
  engine::StepSequencer& sequencer = engine.sequencer();
  for (int pattern = 0; pattern < engine::kPatternCount; ++pattern) {
    sequencer.setResolution(pattern, 128);
    for (int step = 0; step < engine::kMaxSteps; step += 3) sequencer.setCell(1, pattern, step, (pattern + step) % 12);
  }
  return effect;
}

void BM_GetChunk(benchmark::State& state) {
  auto effect = FullEffect();
  for (auto _ : state) {
    void* data = nullptr;
    benchmark::DoNotOptimize(effect->getChunk(&data, false));
    benchmark::DoNotOptimize(data);
  }
}
BENCHMARK(BM_GetChunk)->Unit(benchmark::kMicrosecond);

void BM_SetChunk(benchmark::State& state) {
  auto effect = FullEffect();
  void* data = nullptr;
  const int32_t size = effect->getChunk(&data, false);
  const std::string text(static_cast<const char*>(data), static_cast<size_t>(size));
  auto target = FullEffect();
  for (auto _ : state) benchmark::DoNotOptimize(target->setChunk(const_cast<char*>(text.data()), size, false));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_SetChunk)->Unit(benchmark::kMicrosecond);

}  // namespace
