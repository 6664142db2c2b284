// The plug-in's observable output pinned down: the built module, started by a host from its
// bundle's default preset in Hsync mode with the transport playing (two bars of the first pattern,
// then two of the third, chosen by its MIDI note), must render the same bytes on all 24 outputs
// and save the same project text as the golden data committed beside this test.
// Restructuring and engine work must leave both unchanged; a deliberate change of sound or text
// replaces the golden data (the failure shows the new hash and the text's difference).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/FileBytes.h"
#include "support/TestHost.h"

namespace {

using testhost::TestHost;

constexpr float kSampleRate = 48000.0f;
constexpr int32_t kBlockSize = 512;
constexpr double kTempo = 120.0;
constexpr int kBars = 4;
constexpr uint8_t kThirdPatternNote = 50;
// The 64-bit FNV-1a hash of every output sample's bytes, block by block, outputs in order.
constexpr uint64_t kGoldenRenderHash = 0x6E652EBF10B181D6ULL;

class Fnv1a {
 public:
  void add(const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) hash_ = (hash_ ^ bytes[i]) * 0x100000001B3ULL;
  }
  uint64_t value() const { return hash_; }

 private:
  uint64_t hash_ = 0xCBF29CE484222325ULL;
};

TEST(GoldenOutput, DefaultPresetPlayedInHsyncRendersAndSavesAsBefore) {
  TestHost host;
  ASSERT_TRUE(host.loadModule());
  host.start(kSampleRate, kBlockSize);
  host.setTransport(true, 0.0, kTempo, kSampleRate);

  const auto framesPerBar = static_cast<int64_t>(4 * 60.0 / kTempo * kSampleRate);
  const int64_t blocks = kBars * framesPerBar / kBlockSize;
  testhost::Block block(host.effect()->numOutputs, kBlockSize);
  Fnv1a hash;
  bool anySound = false;
  for (int64_t b = 0; b < blocks; ++b) {
    if (b == blocks / 2) host.sendMidi({{0, 0x90, kThirdPatternNote, 100}});
    host.processInto(block, kBlockSize);
    for (const auto& output : block.outputs) {
      hash.add(output.data(), output.size() * sizeof(float));
      for (float sample : output) anySound = anySound || sample != 0.0f;
    }
    host.advanceTransport(kBlockSize);
  }
  EXPECT_TRUE(anySound) << "the default preset played nothing: is the bundle built?";
  EXPECT_EQ(hash.value(), kGoldenRenderHash) << std::hex << "render hash 0x" << hash.value();

  const std::string expected = testhost::ReadBytes(KH_GOLDEN_DIR "default-preset-saved.txt");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(host.savedProject(), expected);
}

}  // namespace
