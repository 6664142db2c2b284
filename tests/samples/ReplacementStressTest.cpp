// Replacing holders' samples while the audio thread renders every voice in Tuned sound and the
// preparing thread converts them: the audio thread never reads a released array and never
// waits. Run by the sanitizer builds too.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "SoundFiles.h"
#include "engine/DrumEngine.h"
#include "samples/SampleLoader.h"
#include "samples/SamplePreparer.h"
#include "support/TestHost.h"

namespace {

constexpr int32_t kBlockSize = 128;
constexpr auto kDuration = std::chrono::milliseconds(1500);

struct Counts {
  int blocks = 0;
  int badFrames = 0;  // not finite, or louder than any file could make it
};

// Retriggers every holder each block, at a different frame each time, and checks the output.
Counts RenderUntil(engine::DrumEngine& engine, const std::atomic<bool>& stop) {
  testhost::Block block(engine::kOutputCount, kBlockSize);
  const engine::HostTime noTime{};
  Counts counts;
  while (!stop.load()) {
    for (int holder = 0; holder < engine::kHolderCount; ++holder) {
      engine.receiveMidiNote(0x90, static_cast<uint8_t>(engine::kFirstNote + holder), 127,
                             static_cast<uint16_t>((counts.blocks * 7 + holder) % kBlockSize));
    }
    engine.renderBlock(noTime, block.pointers.data(), kBlockSize);
    for (const auto& channel : block.outputs) {
      for (const float value : channel) counts.badFrames += !std::isfinite(value) || std::abs(value) > 1.0f;
    }
    ++counts.blocks;
  }
  return counts;
}

TEST(SampleReplacementStress, LoadsClearsAndCopiesWhileEveryVoiceSounds) {
  testhost::TempFolder folder;
  // Different lengths and channel counts, so that lengths and strides change under the reader.
  const std::vector<std::string> files = {
      sampletest::WriteTestWav(folder, "mono.wav", 3000, 1), sampletest::WriteTestWav(folder, "stereo.wav", 700, 2),
      sampletest::WriteTestWav(folder, "quad.wav", 1500, 4), sampletest::WriteTestWav(folder, "one.wav", 1, 2)};
  engine::DrumEngine engine;
  engine.setSyncMode(engine::SyncMode::Midi);
  engine::Kit& kit = engine.kit();
  samples::SamplePreparer preparer(kit);
  kit.setSoundMode(engine::SoundMode::Tuned);
  kit.setSessionRate(44100.0);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    ASSERT_TRUE(samples::LoadSample(kit, static_cast<uint8_t>(engine::kFirstNote + holder),
                                    files[static_cast<size_t>(holder) % files.size()], false));
  }

  std::atomic<bool> stop{false};
  Counts counts;
  std::thread audio([&] { counts = RenderUntil(engine, stop); });

  int loads = 0;
  int failures = 0;
  const auto deadline = std::chrono::steady_clock::now() + kDuration;
  for (int step = 0; std::chrono::steady_clock::now() < deadline; ++step) {
    const auto note = static_cast<uint8_t>(engine::kFirstNote + step % engine::kHolderCount);
    const auto other = static_cast<uint8_t>(engine::kFirstNote + (step * 5 + 3) % engine::kHolderCount);
    switch (step % 5) {
      case 0:
      case 1:
        failures += !samples::LoadSample(kit, note, files[static_cast<size_t>(step) % files.size()], step % 2 == 0);
        ++loads;
        break;
      case 2:
        kit.clearHolder(note);
        break;
      case 3:
        kit.copyHolder(other, note);
        break;
      case 4:
        if (step % 50 == 4)
          kit.clearAll();
        else
          kit.startPreview(note);
        kit.holder(other).setPitch(static_cast<int8_t>(step % 25 - 12));
        break;
    }
  }
  stop = true;
  audio.join();

  EXPECT_EQ(failures, 0);
  EXPECT_GT(loads, 10);
  EXPECT_GT(counts.blocks, 10);
  EXPECT_EQ(counts.badFrames, 0);
}

}  // namespace
