// processReplacing at 48 kHz in blocks of 512 frames into 24 outputs. The counter
// "realtime" is how many times faster than real time the block renders.
#include <benchmark/benchmark.h>

#include <vector>

#include "engine/Limits.h"
#include "plugin/Entry.h"
#include "plugin/Vst.h"

namespace {

constexpr int32_t kBlock = 512;
constexpr double kSampleRate = 48000.0;

vst::VstTimeInfo timeInfo{};

intptr_t Host(vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
  switch (opcode) {
    case vst::audioMasterVersion:
      return 2400;
    case vst::audioMasterGetTime:
      return reinterpret_cast<intptr_t>(&timeInfo);
    default:
      return 0;
  }
}

class Session {
 public:
  Session() : effect_(plugin::CreateEffect(&Host)), outputs_(engine::kOutputCount, std::vector<float>(kBlock)) {
    for (auto& output : outputs_) pointers_.push_back(output.data());
    timeInfo = {};
    timeInfo.sampleRate = kSampleRate;
    timeInfo.tempo = 120.0;
    timeInfo.flags = vst::kVstPpqPosValid | vst::kVstTempoValid;
    effect_->dispatcher(effect_, vst::effSetSampleRate, 0, 0, nullptr, static_cast<float>(kSampleRate));
    effect_->dispatcher(effect_, vst::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
    effect_->dispatcher(effect_, vst::effMainsChanged, 0, 1, nullptr, 0.0f);
  }
  ~Session() { effect_->dispatcher(effect_, vst::effClose, 0, 0, nullptr, 0.0f); }

  engine::DrumEngine& engine() { return static_cast<plugin::Vst*>(effect_->object)->instrument().engine(); }

  // Ten seconds of noise-like stereo material in every holder.
  void loadLongSamples() {
    for (int holder = 0; holder < engine::kHolderCount; ++holder) {
      auto buffer = engine::SampleBuffer::allocate(480000, 2);
      uint32_t state = 1234567u + static_cast<uint32_t>(holder);
      for (uint32_t i = 0; i < 480000u * 2; ++i) {
        state = state * 1664525u + 1013904223u;
        buffer->samples[i] = static_cast<float>(static_cast<int32_t>(state)) * 1e-10f;
      }
      engine().kit().holder(static_cast<uint8_t>(engine::kFirstNote + holder)).installSample(std::move(buffer));
    }
  }

  void process() {
    effect_->processReplacing(effect_, nullptr, pointers_.data(), kBlock);
    timeInfo.ppqPos += kBlock * timeInfo.tempo / (60.0 * kSampleRate);
  }

 private:
  vst::AEffect* effect_;
  std::vector<std::vector<float>> outputs_;
  std::vector<float*> pointers_;
};

void Report(benchmark::State& state) {
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlock / kSampleRate, benchmark::Counter::kIsRate);
}

void Idle(benchmark::State& state) {
  Session session;
  for (auto _ : state) session.process();
  Report(state);
}

void TwelveVoices(benchmark::State& state) {
  Session session;
  session.loadLongSamples();
  session.engine().setSyncMode(engine::SyncMode::Midi);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    session.engine().kitPlayer().noteOn(static_cast<uint8_t>(engine::kFirstNote + holder), 127);
  }
  int blocks = 0;
  for (auto _ : state) {
    session.process();
    // Restart the voices before the samples run out, outside the measured path's cost model.
    if (++blocks % 900 == 0) {
      for (int holder = 0; holder < engine::kHolderCount; ++holder) {
        session.engine().kitPlayer().noteOn(static_cast<uint8_t>(engine::kFirstNote + holder), 127);
      }
    }
  }
  Report(state);
}

void DensePatternPlaying(benchmark::State& state) {
  Session session;
  session.loadLongSamples();
  engine::PatternStore& patterns = session.engine().patterns();
  patterns.setResolution(0, 128);
  for (int step = 0; step < 128; ++step) {
    for (int holder = 0; holder < engine::kHolderCount; ++holder) patterns.setCell(1, 0, step, holder);
  }
  timeInfo.flags |= vst::kVstTransportPlaying;
  for (auto _ : state) session.process();
  Report(state);
}

BENCHMARK(Idle);
BENCHMARK(TwelveVoices);
BENCHMARK(DensePatternPlaying);

}  // namespace
