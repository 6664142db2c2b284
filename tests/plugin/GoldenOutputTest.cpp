// The plug-in's observable output pinned down: the built module, started by a host from its
// bundle's default preset without its sound record (as every project saved before the record
// existed, so Classic sound) in Hsync mode with the transport playing (two bars of the first pattern,
// then two of the third, chosen by its MIDI note), must render the same bytes on all 24 outputs
// and save the same project text as the golden data committed beside this test.
// Restructuring and engine work must leave both unchanged. The render's reference holds, for
// every output and block that is not silent, a hash of its bytes with its peak and RMS, so a
// failure names the first output and block that differ and by how much.
// scripts/update-golden.sh writes both files anew: only for a deliberate change of sound or
// text, committed on its own with the reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "support/TempFolder.h"
#include "support/TestHost.h"

namespace {

using testhost::TestHost;

constexpr float kSampleRate = 48000.0f;
constexpr int32_t kBlockSize = 512;
constexpr double kTempo = 120.0;
constexpr int kBars = 4;
constexpr uint8_t kThirdPatternNote = 50;
constexpr std::string_view kTunedSoundRecord = "snd1;Tuned;\n";
const std::string kRenderReference = KH_GOLDEN_DIR "default-preset-render.txt";
const std::string kSavedReference = KH_GOLDEN_DIR "default-preset-saved.txt";

// One output's samples in one block: the 32-bit FNV-1a hash of their bytes, peak and RMS.
struct BlockPrint {
  int output = 0;
  int64_t block = 0;
  uint32_t hash = 0x811C9DC5u;
  float peak = 0.0f;
  float rms = 0.0f;
  bool operator==(const BlockPrint& other) const {
    return output == other.output && block == other.block && hash == other.hash;
  }
};

// The render's prints, silent blocks left out, in block order and output order within a block.
std::vector<BlockPrint> RenderDefaultPreset(std::string& savedProject) {
  TestHost host;
  EXPECT_TRUE(host.loadModule());
  if (host.effect() == nullptr) return {};
  std::string classic = host.savedProject();
  const size_t soundRecord = classic.find(kTunedSoundRecord);
  EXPECT_NE(soundRecord, std::string::npos) << "new instances start with Tuned sound";
  if (soundRecord != std::string::npos) classic.erase(soundRecord, kTunedSoundRecord.size());
  host.dispatch(vst::effSetChunk, 0, static_cast<intptr_t>(classic.size() + 1), classic.data());
  host.start(kSampleRate, kBlockSize);
  host.setTransport(true, 0.0, kTempo, kSampleRate);
  const int64_t blocks = kBars * static_cast<int64_t>(4 * 60.0 / kTempo * kSampleRate) / kBlockSize;
  testhost::Block block(host.effect()->numOutputs, kBlockSize);
  std::vector<BlockPrint> prints;
  for (int64_t b = 0; b < blocks; ++b) {
    if (b == blocks / 2) host.sendMidi({{0, 0x90, kThirdPatternNote, 100}});
    host.processInto(block, kBlockSize);
    for (size_t output = 0; output < block.outputs.size(); ++output) {
      const std::vector<float>& samples = block.outputs[output];
      if (std::all_of(samples.begin(), samples.end(), [](float s) { return s == 0.0f && !std::signbit(s); })) continue;
      BlockPrint& print = prints.emplace_back(BlockPrint{static_cast<int>(output), b});
      const auto* bytes = reinterpret_cast<const unsigned char*>(samples.data());
      for (size_t i = 0; i < samples.size() * sizeof(float); ++i) print.hash = (print.hash ^ bytes[i]) * 0x01000193u;
      double sumOfSquares = 0.0;
      for (float sample : samples) {
        print.peak = std::max(print.peak, std::fabs(sample));
        sumOfSquares += static_cast<double>(sample) * sample;
      }
      print.rms = static_cast<float>(std::sqrt(sumOfSquares / static_cast<double>(samples.size())));
    }
    host.advanceTransport(kBlockSize);
  }
  savedProject = host.savedProject();
  return prints;
}

// One line per print: output, block, hash in hex, peak and RMS.
std::string ToText(const std::vector<BlockPrint>& prints) {
  std::string text = "# output block hash peak rms: the default preset's render, silent blocks left out\n";
  char line[96];
  for (const BlockPrint& p : prints) {
    std::snprintf(line, sizeof line, "%d %" PRId64 " %08" PRIx32 " %.9g %.9g\n", p.output, p.block, p.hash,
                  static_cast<double>(p.peak), static_cast<double>(p.rms));
    text += line;
  }
  return text;
}

std::vector<BlockPrint> FromText(const std::string& text) {
  std::vector<BlockPrint> prints;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '#') continue;
    BlockPrint& p = prints.emplace_back();
    std::istringstream(line) >> p.output >> p.block >> std::hex >> p.hash >> std::dec >> p.peak >> p.rms;
  }
  return prints;
}

// Where the render first departs from the reference, and by how much.
std::string FirstDifference(const std::vector<BlockPrint>& expected, const std::vector<BlockPrint>& rendered) {
  // Block first, then output: the order of time.
  std::map<std::pair<int64_t, int>, std::pair<const BlockPrint*, const BlockPrint*>> places;
  for (const BlockPrint& p : expected) places[{p.block, p.output}].first = &p;
  for (const BlockPrint& p : rendered) places[{p.block, p.output}].second = &p;
  const auto describe = [](const BlockPrint* p) {
    return p == nullptr ? std::string("silence")
                        : "peak " + std::to_string(p->peak) + ", RMS " + std::to_string(p->rms);
  };
  std::ostringstream text;
  size_t differing = 0;
  for (const auto& [place, pair] : places) {
    const auto& [want, got] = pair;
    if ((want != nullptr && got != nullptr && *want == *got) || differing++ > 0) continue;
    const auto [block, output] = place;
    text << "first difference: output " << output << ", block " << block << " (frames " << block * kBlockSize << " to "
         << (block + 1) * kBlockSize - 1 << "): expected " << describe(want) << ", rendered " << describe(got);
    if (want != nullptr && got != nullptr) {
      text << " (peak off by " << got->peak - want->peak << ", RMS by " << got->rms - want->rms << ")";
    }
  }
  text << "; " << differing << " blocks differ";
  return text.str();
}

TEST(GoldenOutput, DefaultPresetPlayedInHsyncRendersAndSavesAsBefore) {
  std::string saved;
  const std::vector<BlockPrint> rendered = RenderDefaultPreset(saved);
  ASSERT_FALSE(rendered.empty()) << "the default preset played nothing: is the bundle built?";

  if (std::getenv("KH_UPDATE_GOLDEN") != nullptr) {
    std::ofstream(kRenderReference, std::ios::binary) << ToText(rendered);
    std::ofstream(kSavedReference, std::ios::binary) << saved;
    GTEST_SKIP() << "wrote " << kRenderReference << " and " << kSavedReference;
  }

  const std::vector<BlockPrint> expected = FromText(testhost::ReadBytes(kRenderReference));
  ASSERT_FALSE(expected.empty()) << "no reference in " << kRenderReference;
  EXPECT_TRUE(rendered == expected) << FirstDifference(expected, rendered);

  const std::string expectedText = testhost::ReadBytes(kSavedReference);
  ASSERT_FALSE(expectedText.empty());
  EXPECT_EQ(saved, expectedText);
}

}  // namespace
