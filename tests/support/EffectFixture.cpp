#include "support/EffectFixture.h"

#include <algorithm>

#include "engine/Limits.h"

namespace testhost {

void InstallSamples(engine::Kit& kit, uint8_t note, const std::vector<float>& samples, uint32_t channels,
                    int32_t sampleRate) {
  auto buffer = engine::SampleBuffer::allocate(static_cast<uint32_t>(samples.size() / channels), channels);
  std::copy(samples.begin(), samples.end(), buffer->samples.get());
  buffer->sampleRate = sampleRate;
  kit.holder(note).fileInfo().channels = static_cast<int32_t>(channels);
  kit.holder(note).fileInfo().sampleRate = sampleRate;
  kit.holder(note).installSample(std::move(buffer));
}

std::vector<int64_t> SoundingFrames(const std::vector<Block>& blocks, int holder, int32_t blockSize) {
  std::vector<int64_t> frames;
  for (size_t block = 0; block < blocks.size(); ++block) {
    const auto& left = blocks[block].outputs[static_cast<size_t>(2 * holder)];
    for (size_t frame = 0; frame < left.size(); ++frame) {
      if (left[frame] != 0.0f) frames.push_back(static_cast<int64_t>(block) * blockSize + static_cast<int64_t>(frame));
    }
  }
  return frames;
}

void EffectFixture::SetUp() {
  ASSERT_TRUE(host->createInProcess());
  host->setTransport(false, 0.0);
  host->start(48000.0f, 512);
}

void EffectFixture::InstallClicks() {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    InstallSamples(kit(), static_cast<uint8_t>(engine::kFirstNote + holder), {1.0f});
  }
}

std::vector<Block> EffectFixture::Render(int blocks, int32_t blockSize) {
  std::vector<Block> rendered;
  for (int block = 0; block < blocks; ++block) {
    rendered.push_back(host->process(blockSize));
    host->advanceTransport(blockSize);
  }
  return rendered;
}

}  // namespace testhost
