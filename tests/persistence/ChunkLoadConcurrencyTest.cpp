// Projects loaded while the host's audio thread renders: the audio thread keeps running on
// a model that is being reset and restored, and sample arrays are replaced under it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "EffectInFolder.h"
#include "engine/Limits.h"
#include "support/TestHost.h"

namespace persistencetest {
namespace {

constexpr int32_t kBlock = 256;

// Not finite: 2, any sound: 1, silence: 0.
int Worst(const testhost::Block& block) {
  int worst = 0;
  for (const auto& output : block.outputs) {
    for (float sample : output) worst = std::max(worst, !std::isfinite(sample) ? 2 : sample != 0.0f ? 1 : 0);
  }
  return worst;
}

TEST(ChunkLoadWhileRendering, AudioThreadPlaysOnWhileProjectsLoad) {
  testhost::MessageCapture messages;
  testhost::TestHost host;
  // In the bundle's folder the effect starts from its default preset, with the factory kit.
  ASSERT_TRUE(host.createInFolder(KH_BUNDLE_DIR));
  const std::string preset = host.savedProject();
  ASSERT_NE(preset.find("\\$VST_SAMPLE_DIR$\\Factory\\"), std::string::npos);
  host.start(48000.0f, kBlock);
  host.setTransport(true, 0.0);

  std::atomic<bool> loading{true};
  std::atomic<bool> finite{true};
  std::thread audio([&] {
    testhost::Block block(engine::kOutputCount, kBlock);
    while (loading) {
      host.processInto(block, kBlock);
      host.advanceTransport(kBlock);
      if (Worst(block) == 2) finite = false;
    }
  });
  const std::string empty = DefaultText();
  for (int load = 0; load < 8; ++load) SetChunk(host.object<plugin::Vst>(), load % 2 == 0 ? preset : empty);
  loading = false;
  audio.join();
  EXPECT_TRUE(finite);
  EXPECT_TRUE(messages.messages().empty());

  // The last load was the preset: its groove plays within a bar.
  SetChunk(host.object<plugin::Vst>(), preset);
  bool heard = false;
  for (int block = 0; block < 48000 * 2 / kBlock && !heard; ++block) {
    heard = Worst(host.process(kBlock)) == 1;
    host.advanceTransport(kBlock);
  }
  EXPECT_TRUE(heard);
}

// A host saving on one thread while it restores on another sees either whole state, never a
// mixture or a half-read name.
TEST(ChunkSaveWhileLoading, EverySavedTextIsOneOfTheLoadedStates) {
  testhost::MessageCapture messages;
  testhost::TestHost host;
  ASSERT_TRUE(host.createInProcess());
  std::vector<std::string> states;
  for (const char* name : {"A long holder name that does not fit a short string", "B"}) {
    std::vector<std::string> records;
    for (int note = 36; note <= 47; ++note) records.push_back(DefaultHolderRecord(note, name));
    SetChunk(host.object<plugin::Vst>(), VersionTwoText(records));
    states.push_back(host.savedProject());
  }

  std::atomic<bool> loading{true};
  std::thread loader([&] {
    for (int round = 0; round < 200; ++round)
      SetChunk(host.object<plugin::Vst>(), states[static_cast<size_t>(round % 2)]);
    loading = false;
  });
  int mixed = 0;
  while (loading) {
    const std::string saved = host.savedProject();
    if (saved != states[0] && saved != states[1]) ++mixed;
  }
  loader.join();
  EXPECT_EQ(mixed, 0);
}

}  // namespace
}  // namespace persistencetest
