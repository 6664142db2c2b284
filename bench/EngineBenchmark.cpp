// The block renderer beside the frame-by-frame reference it replaced, on the same scenes:
// 48 kHz, blocks of 512 frames into 24 outputs. The counter "realtime" is how many times
// faster than real time a block renders (CPU time). Samples are either short enough to stay
// in the cache (0.5 s) or long (10 s) and streamed from memory. Tuned sound plays copies
// prepared beforehand (the block renderer only: the reference is Classic's frame loop), and
// PrepareSample measures what preparing one copy costs its thread after a change of pitch.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "reference/ReferenceFrameLoop.h"
#include "samples/SamplePreparer.h"

namespace {

constexpr int32_t kBlock = 512;
constexpr double kSampleRate = 48000.0;
constexpr uint32_t kCachedFrames = 24000;
constexpr uint32_t kLongFrames = 480000;
constexpr size_t kCacheLine = 64;

enum Renderer : int64_t { kReference = 0, kBlockRenderer = 1 };

// DenseDynamics is DensePattern with a random velocity on every step and two choke groups of
// three holders each.
enum class Scene { Idle, Voices, PitchedVoices, TunedPitchedVoices, DensePattern, DenseDynamics, Downmix };

// Twelve different pitches, none of them 0.
int8_t PitchOf(int holder) { return static_cast<int8_t>(holder < 6 ? holder - 6 : holder - 5); }

// sampleFrames of stereo noise, as recorded at the benchmark's rate.
std::unique_ptr<engine::SampleBuffer> Noise(uint32_t sampleFrames, uint32_t seed) {
  auto buffer = engine::SampleBuffer::allocate(sampleFrames, 2);
  buffer->sampleRate = static_cast<int32_t>(kSampleRate);
  uint32_t state = seed;
  for (uint32_t i = 0; i < sampleFrames * 2; ++i) {
    state = state * 1664525u + 1013904223u;
    buffer->samples[i] = static_cast<float>(static_cast<int32_t>(state)) * 1e-10f;
  }
  return buffer;
}

class Session {
 public:
  Session(Scene scene, uint32_t sampleFrames) : outputs_(engine::kOutputCount * kBlock + kCacheLine / sizeof(float)) {
    // The outputs as hosts allocate them: each one starting on a cache line.
    float* first = outputs_.data();
    while (reinterpret_cast<uintptr_t>(first) % kCacheLine != 0) ++first;
    for (int output = 0; output < engine::kOutputCount; ++output) pointers_.push_back(first + output * kBlock);
    time_.available = true;
    time_.sampleRate = kSampleRate;
    time_.tempo = 120.0;
    time_.ppqValid = true;
    time_.tempoValid = true;
    if (scene == Scene::Idle) return;
    for (int holder = 0; holder < engine::kHolderCount; ++holder) {
      engine::SampleHolder& sampleHolder = engine_->kit().holder(static_cast<uint8_t>(engine::kFirstNote + holder));
      sampleHolder.installSample(Noise(sampleFrames, 1234567u + static_cast<uint32_t>(holder)));
      if (scene == Scene::PitchedVoices) sampleHolder.setPitch(static_cast<int8_t>(holder % 5 - 2));
      if (scene == Scene::TunedPitchedVoices) {
        // What the preparing thread would install.
        sampleHolder.setPitch(PitchOf(holder));
        sampleHolder.installPrepared(samples::PrepareSample(*sampleHolder.sample(), kSampleRate, PitchOf(holder)));
      }
    }
    if (scene == Scene::TunedPitchedVoices) engine_->kit().setSoundMode(engine::SoundMode::Tuned);
    if (scene == Scene::DensePattern || scene == Scene::DenseDynamics) {
      const bool dynamics = scene == Scene::DenseDynamics;
      engine::PatternStore& patterns = engine_->patterns();
      patterns.setResolution(0, 128);
      uint32_t random = 7777u;
      for (int step = 0; step < 128; ++step) {
        for (int holder = 0; holder < engine::kHolderCount; ++holder) {
          patterns.setCell(1, 0, step, holder);
          random = random * 1664525u + 1013904223u;
          if (dynamics) patterns.setStepVelocity(static_cast<int>(random >> 16) % 127 + 1, 0, step, holder);
        }
      }
      // Holders 0, 4 and 8 in group 1, holders 1, 5 and 9 in group 2.
      for (int holder = 0; holder < engine::kHolderCount && dynamics; ++holder) {
        const int group = holder % 4 < 2 ? holder % 4 + 1 : engine::kNoChokeGroup;
        engine_->kit().holder(static_cast<uint8_t>(engine::kFirstNote + holder)).setChokeGroup(group);
      }
      time_.playing = true;
    } else {
      engine_->setSyncMode(engine::SyncMode::Midi);
      engine_->kitPlayer().setDownmix(scene == Scene::Downmix);
      // The voices start again a little before the samples run out.
      restartBlocks_ = static_cast<int>(sampleFrames / kBlock) - 2;
    }
  }

  void process(Renderer renderer) {
    if (restartBlocks_ > 0 && blocks_++ % restartBlocks_ == 0) {
      for (int holder = 0; holder < engine::kHolderCount; ++holder) {
        engine_->kitPlayer().noteOn(static_cast<uint8_t>(engine::kFirstNote + holder), 127);
      }
    }
    if (renderer == kReference) {
      engine::ReferenceFrameLoop::renderBlock(*engine_, time_, pointers_.data(), kBlock);
    } else {
      engine_->renderBlock(time_, pointers_.data(), kBlock);
    }
    time_.ppqPos += kBlock * time_.tempo / (60.0 * kSampleRate);
  }

 private:
  std::unique_ptr<engine::DrumEngine> engine_ = std::make_unique<engine::DrumEngine>();
  engine::HostTime time_;
  std::vector<float> outputs_;
  std::vector<float*> pointers_;
  int restartBlocks_ = 0;
  int blocks_ = 0;
};

template <Scene kScene>
void Render(benchmark::State& state) {
  const auto renderer = static_cast<Renderer>(state.range(0));
  Session session(kScene, static_cast<uint32_t>(state.range(1)));
  for (auto _ : state) session.process(renderer);
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / kSampleRate, benchmark::Counter::kIsRate);
  state.SetLabel(renderer == kReference ? "frame loop" : "block renderer");
}

void BothRenderers(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgNames({"renderer", "sample_frames"});
  for (int64_t frames : {kCachedFrames, kLongFrames}) {
    for (int64_t renderer : {kReference, kBlockRenderer}) benchmark->Args({renderer, frames});
  }
}

BENCHMARK(Render<Scene::Idle>)
    ->Name("Idle")
    ->ArgNames({"renderer", "sample_frames"})
    ->Args({kReference, 0})
    ->Args({kBlockRenderer, 0});
BENCHMARK(Render<Scene::Voices>)->Name("TwelveVoices")->Apply(BothRenderers);
BENCHMARK(Render<Scene::PitchedVoices>)->Name("TwelvePitchedVoices")->Apply(BothRenderers);
BENCHMARK(Render<Scene::TunedPitchedVoices>)
    ->Name("TwelveTunedPitchedVoices")
    ->ArgNames({"renderer", "sample_frames"})
    ->Args({kBlockRenderer, kCachedFrames})
    ->Args({kBlockRenderer, kLongFrames});
BENCHMARK(Render<Scene::DensePattern>)->Name("DensePattern")->Apply(BothRenderers);
BENCHMARK(Render<Scene::DenseDynamics>)->Name("DensePatternVelocitiesChokes")->Apply(BothRenderers);
BENCHMARK(Render<Scene::Downmix>)->Name("TwelveVoicesDownmix")->Apply(BothRenderers);

// A 10 s stereo sample prepared for a new pitch: what a turn of the pitch knob costs the
// preparing thread (never the audio thread). Recorded at 44.1 kHz, played in a 48 kHz session.
void PrepareSample(benchmark::State& state) {
  std::unique_ptr<engine::SampleBuffer> source = Noise(441000, 7654321u);
  source->sampleRate = 44100;
  const auto semitones = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::unique_ptr<engine::SampleBuffer> prepared = samples::PrepareSample(*source, kSampleRate, semitones);
    benchmark::DoNotOptimize(prepared->samples.get());
  }
}

BENCHMARK(PrepareSample)->ArgName("semitones")->Arg(-12)->Arg(1)->Arg(7)->Arg(12)->Unit(benchmark::kMillisecond);

}  // namespace
