// A test fixture with one effect created in this process and started like a host does, with
// helpers to give holders sample data and to find where each holder sounds.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "plugin/Vst.h"
#include "support/TestHost.h"

namespace testhost {

constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kControlChange = 0xB0;
constexpr float kMasterLevel = engine::kDefaultMasterLevel;

// Gives the holder of a note the samples (interleaved when channels is 2) as if a file recorded
// at sampleRate (0: the session's) was loaded.
inline void InstallSamples(engine::Kit& kit, uint8_t note, const std::vector<float>& samples, uint32_t channels = 1,
                           int32_t sampleRate = 0) {
  auto buffer = engine::SampleBuffer::allocate(static_cast<uint32_t>(samples.size() / channels), channels);
  std::copy(samples.begin(), samples.end(), buffer->samples.get());
  buffer->sampleRate = sampleRate;
  kit.holder(note).fileInfo().channels = static_cast<int32_t>(channels);
  kit.holder(note).fileInfo().sampleRate = sampleRate;
  kit.holder(note).installSample(std::move(buffer));
}

// Holder h's output pair 2h, 2h+1: the frames (counted over all blocks) at which its left channel is not zero.
inline std::vector<int64_t> SoundingFrames(const std::vector<Block>& blocks, int holder, int32_t blockSize) {
  std::vector<int64_t> frames;
  for (size_t block = 0; block < blocks.size(); ++block) {
    const auto& left = blocks[block].outputs[static_cast<size_t>(2 * holder)];
    for (size_t frame = 0; frame < left.size(); ++frame) {
      if (left[frame] != 0.0f) frames.push_back(static_cast<int64_t>(block) * blockSize + static_cast<int64_t>(frame));
    }
  }
  return frames;
}

class EffectFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host->createInProcess());
    host->setTransport(false, 0.0);
    host->start(48000.0f, 512);
  }

  plugin::Vst& vst() { return host->object<plugin::Vst>(); }
  engine::DrumEngine& engine() { return vst().instrument().engine(); }
  engine::Kit& kit() { return engine().kit(); }
  engine::PatternStore& patterns() { return engine().patterns(); }
  engine::StepClock& clock() { return engine().clock(); }

  // Gives every holder a one-frame sample of 1.0, so its output is non-zero exactly at its triggers.
  void installClicks() {
    for (int holder = 0; holder < engine::kHolderCount; ++holder) {
      InstallSamples(kit(), static_cast<uint8_t>(engine::kFirstNote + holder), {1.0f});
    }
  }
  // Renders blocks of blockSize frames, moving the transport on after each one.
  std::vector<Block> render(int blocks, int32_t blockSize) {
    std::vector<Block> rendered;
    for (int block = 0; block < blocks; ++block) {
      rendered.push_back(host->process(blockSize));
      host->advanceTransport(blockSize);
    }
    return rendered;
  }

  std::unique_ptr<TestHost> host = std::make_unique<TestHost>();
};

}  // namespace testhost
