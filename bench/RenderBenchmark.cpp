// kestrelhollow-render's render loop: the built plug-in module hosted as the tool hosts it,
// one second of the default preset at 48 kHz in blocks of 512 frames per iteration, written
// to each output layout. The realtime factor counter is seconds of audio per second of work.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <memory>

#include "AudioOutput.h"
#include "PluginHost.h"
#include "PluginLocation.h"
#include "Renderer.h"
#include "Transport.h"

namespace {

constexpr int kSampleRate = 48000;
constexpr int32_t kBlockSize = 512;

render::PluginHost& Host() {
  static const std::unique_ptr<render::PluginHost> host = [] {
    auto created = std::make_unique<render::PluginHost>(render::FindPlugin());
    created->configure(kSampleRate, kBlockSize);
    created->resume();
    return created;
  }();
  return *host;
}

void BM_RenderOneSecond(benchmark::State& state) {
  const auto layout = static_cast<render::OutputLayout>(state.range(0));
  render::PluginHost& host = Host();
  const render::Transport transport(kSampleRate, 120.0);
  const render::RenderPlan plan{kSampleRate, kBlockSize};
  const std::string path = (std::filesystem::temp_directory_path() / "kh-bench-render.wav").string();
  const std::atomic<bool> never{false};
  for (auto _ : state) {
    // Never finished: the temporary file goes away with the output.
    render::AudioOutput output(path, layout, host.outputCount(), kSampleRate, plan.frames);
    render::Render(host, transport, plan, {}, output, never);
  }
  state.SetItemsProcessed(state.iterations() * plan.frames);
  state.counters["realtime_factor"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RenderOneSecond)
    ->Arg(static_cast<int>(render::OutputLayout::StereoSum))
    ->Arg(static_cast<int>(render::OutputLayout::AllOutputs))
    ->Arg(static_cast<int>(render::OutputLayout::PerHolder))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
