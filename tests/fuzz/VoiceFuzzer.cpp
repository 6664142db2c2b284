// Plays random sample data through the voice kernels: random lengths, channels, pitches, ends,
// cursors, gains and block sizes, into output runs of exactly the block's size, once with the
// widest vectors and once with the baseline ones. Run under AddressSanitizer and
// UndefinedBehaviorSanitizer: any access outside the sample or the runs, undefined arithmetic,
// or a single bit that differs between the two widths is a fault.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "engine/SampleBuffer.h"
#include "engine/VoicePlayback.h"

namespace {

constexpr uint32_t kMostFrames = 4096;
constexpr uint32_t kMostChannels = 4;
constexpr uint32_t kMostBlock = 1024;
constexpr int kMostBlocks = 8;

// A Finite value: samples are Finite once loaded, and a NaN's payload may differ between
// instruction forms without any fault.
float Finite(FuzzedDataProvider& input, float low, float high) {
  const float value = input.ConsumeFloatingPointInRange(low, high);
  return std::isfinite(value) ? value : 0.0f;
}

// A Factor that is exactly 1 (left out of the products) as often as any other.
float Factor(FuzzedDataProvider& input) { return input.ConsumeBool() ? 1.0f : Finite(input, 0.0f, 1.0f); }

struct Output {
  std::vector<std::vector<float>> lefts, rights;
  std::vector<engine::VoiceCursor> cursors;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  const uint32_t frames = input.ConsumeIntegralInRange<uint32_t>(0, kMostFrames);
  const uint32_t channels = input.ConsumeIntegralInRange<uint32_t>(1, kMostChannels);
  // Exactly frames x channels floats, so that a read beyond the sample is caught.
  const std::unique_ptr<engine::SampleBuffer> buffer =
      input.ConsumeBool() ? engine::SampleBuffer::allocate(frames, channels) : nullptr;
  if (buffer) {
    for (size_t item = 0; item < size_t{frames} * channels; ++item) buffer->samples[item] = Finite(input, -2.0f, 2.0f);
  }
  const engine::VoiceSource source{buffer.get(), input.ConsumeIntegralInRange<uint32_t>(0, frames + 64),
                                   input.ConsumeIntegralInRange<int8_t>(-14, 14)};
  const engine::VoiceCursor start{input.ConsumeIntegralInRange<uint32_t>(0, frames + 64),
                                  input.ConsumeIntegralInRange<uint8_t>(0, 13)};
  const engine::VoiceGains gains{Finite(input, 0.0f, 1.0f), Finite(input, 0.0f, 1.0f), Factor(input), Factor(input),
                                 Finite(input, 0.0f, 1.0f)};
  const float silence = input.ConsumeBool() ? 0.0f : Finite(input, -1.0f, 1.0f);
  std::vector<uint32_t> blocks(input.ConsumeIntegralInRange<int>(1, kMostBlocks));
  for (uint32_t& block : blocks) block = input.ConsumeIntegralInRange<uint32_t>(0, kMostBlock);

  // Each block into runs of its own exact size, the cursor carried from block to block.
  const auto play = [&](bool wide) {
    engine::AllowWideVectors(wide);
    Output output;
    engine::VoiceCursor cursor = start;
    for (const uint32_t count : blocks) {
      std::vector<float>& left = output.lefts.emplace_back(count);
      std::vector<float>& right = output.rights.emplace_back(count);
      engine::PlayVoice(source, cursor, left.data(), right.data(), count, gains, silence);
      output.cursors.push_back(cursor);
    }
    return output;
  };
  const Output wide = play(true);
  const Output baseline = play(false);
  for (size_t block = 0; block < blocks.size(); ++block) {
    const size_t bytes = blocks[block] * sizeof(float);  // an empty block has no array to compare
    if ((bytes != 0 && (std::memcmp(wide.lefts[block].data(), baseline.lefts[block].data(), bytes) != 0 ||
                        std::memcmp(wide.rights[block].data(), baseline.rights[block].data(), bytes) != 0)) ||
        wide.cursors[block].position != baseline.cursors[block].position ||
        wide.cursors[block].countdown != baseline.cursors[block].countdown) {
      std::abort();  // the two widths differ
    }
  }
  return 0;
}
