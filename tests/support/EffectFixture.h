// A test fixture with one effect created in this process and started like a host does, with
// helpers to give holders sample data and to find where each holder sounds.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/DrumEngine.h"
#include "plugin/Vst.h"
#include "support/TestHost.h"

namespace testhost {

constexpr uint8_t kNoteOn = 0x90;
constexpr uint8_t kNoteOff = 0x80;
constexpr uint8_t kControlChange = 0xB0;
constexpr float kMasterLevel = engine::kDefaultMasterLevel;

// Gives the holder of a note the samples (interleaved when channels is 2) as if a file was loaded.
void InstallSamples(engine::Kit& kit, uint8_t note, const std::vector<float>& samples, uint32_t channels = 1);

// Holder h's output pair 2h, 2h+1: the frames (counted over all blocks) at which its left channel is not zero.
std::vector<int64_t> SoundingFrames(const std::vector<Block>& blocks, int holder, int32_t blockSize);

class EffectFixture : public ::testing::Test {
 protected:
  void SetUp() override;

  plugin::Vst& vst() { return host->object<plugin::Vst>(); }
  engine::DrumEngine& engine() { return vst().instrument().engine(); }
  engine::Kit& kit() { return engine().kit(); }
  engine::PatternStore& patterns() { return engine().patterns(); }
  engine::StepClock& clock() { return engine().clock(); }

  // Gives every holder a one-frame sample of 1.0, so its output is non-zero exactly at its triggers.
  void InstallClicks();
  // Renders blocks of blockSize frames, moving the transport on after each one.
  std::vector<Block> Render(int blocks, int32_t blockSize);

  std::unique_ptr<TestHost> host = std::make_unique<TestHost>();
};

}  // namespace testhost
