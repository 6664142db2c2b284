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
  engine::DrumEngine& engine = effect->instrument().engine();
  for (int index = 0; index < engine::kHolderCount; ++index) {
    engine::SampleHolder& holder = engine.kit().holder(static_cast<uint8_t>(engine::kFirstNote + index));
    holder.setName("Holder " + std::to_string(index));
    holder.setPath(effect->instrument().samplesFolder() + "Factory/Sound" + std::to_string(index) + ".wav");
  }
  engine::PatternStore& patterns = engine.patterns();
  for (int pattern = 0; pattern < engine::kPatternCount; ++pattern) {
    patterns.setResolution(pattern, 128);
    for (int step = 0; step < engine::kMaxSteps; step += 3) patterns.setCell(1, pattern, step, (pattern + step) % 12);
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

// A text from anywhere: one field of nothing but placeholders (no field end after any of
// them), of the given size. Expanding it costs time in proportion to its size.
void BM_SetChunkOfPlaceholders(benchmark::State& state) {
  std::string text = "\nKestrelhollow Data Version 2.0\nsmp2;36;x;";
  while (text.size() < static_cast<size_t>(state.range(0))) text += "\\$VST_SAMPLE_DIR$\\";
  auto target = FullEffect();
  const auto size = static_cast<int32_t>(text.size());
  for (auto _ : state) benchmark::DoNotOptimize(target->setChunk(text.data(), size, false));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_SetChunkOfPlaceholders)->Arg(64 << 10)->Arg(1 << 20)->Unit(benchmark::kMillisecond);

// A text of nothing but line feeds after its version line, of the given size: its lines are
// read one at a time, so the load needs little memory beyond the text's own copy.
void BM_SetChunkOfLineFeeds(benchmark::State& state) {
  std::string text = "\nKestrelhollow Data Version 2.0\n";
  text.resize(static_cast<size_t>(state.range(0)), '\n');
  auto target = FullEffect();
  const auto size = static_cast<int32_t>(text.size());
  for (auto _ : state) benchmark::DoNotOptimize(target->setChunk(text.data(), size, false));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * size);
}
BENCHMARK(BM_SetChunkOfLineFeeds)->Arg(100'000'000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
