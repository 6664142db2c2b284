// The generated factory kit: every drum usable as it stands, and the files in the bundle are
// exactly what the generator makes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "SoundFiles.h"
#include "tools/factorykit/DrumSynth.h"
#include "tools/factorykit/FactoryKit.h"
#include "tools/factorykit/SynthBlocks.h"

namespace {

using factorykit::Sound;

float Peak(const std::vector<float>& samples, size_t from, size_t to) {
  float peak = 0.0f;
  for (size_t index = from; index < to; ++index) peak = std::max(peak, std::abs(samples[index]));
  return peak;
}

double Rms(const Sound& sound, double fromSeconds, double toSeconds) {
  const auto from = static_cast<size_t>(factorykit::Frames(fromSeconds) * sound.channels);
  const auto to = std::min(sound.samples.size(), static_cast<size_t>(factorykit::Frames(toSeconds) * sound.channels));
  double sum = 0.0;
  for (size_t index = from; index < to; ++index)
    sum += static_cast<double>(sound.samples[index]) * sound.samples[index];
  return std::sqrt(sum / static_cast<double>(to - from));
}

// Just below full scale, without a click at either end, with the length and decay of a drum; the
// same on every build, and what the bundle holds.
TEST(FactoryKit, EveryDrumPeaksJustBelowFullScaleWithoutClicksDecaysLikeADrumAndIsInTheBundle) {
  for (int index = 0; index < engine::kHolderCount; ++index) {
    SCOPED_TRACE(factorykit::kSoundNames[index]);
    const Sound drum = factorykit::SynthesiseDrum(index);
    const float peak = Peak(drum.samples, 0, drum.samples.size());
    EXPECT_LT(peak, 0.95f);  // below -0.4 dBFS: headroom for the 24-bit rounding
    EXPECT_GT(peak, 0.84f);  // and not needlessly quiet
    const size_t size = drum.samples.size();
    const auto channels = static_cast<size_t>(drum.channels);
    EXPECT_LT(Peak(drum.samples, 0, channels), 0.01f);
    EXPECT_LT(Peak(drum.samples, size - channels, size), 1e-4f);
    EXPECT_LT(Peak(drum.samples, size - static_cast<size_t>(factorykit::Frames(0.003)) * channels, size), 0.01f);
    const double seconds = static_cast<double>(drum.frames()) / factorykit::kSampleRate;
    EXPECT_GE(seconds, 0.1);
    EXPECT_LE(seconds, 3.5);
    const double attack = Rms(drum, 0.0, 0.03);
    EXPECT_GT(attack, 0.05);  // a transient that is heard at once
    // Most of the energy has died away by the last tenth of the sound.
    EXPECT_LT(Rms(drum, seconds * 0.9, seconds), attack / 20.0);

    ASSERT_EQ(factorykit::SynthesiseDrum(index).samples, drum.samples);
    SF_INFO info{};
    const std::string path = std::string(KH_BUNDLE_DIR) + "samples/Factory/" + factorykit::kFileNames[index];
    const std::vector<float> written = sampletest::ReadSoundFile(path, info);
    ASSERT_EQ(info.samplerate, factorykit::kSampleRate) << path;
    ASSERT_EQ(info.channels, drum.channels);
    ASSERT_EQ(written.size(), drum.samples.size());
    for (size_t item = 0; item < written.size(); ++item) {
      ASSERT_NEAR(written[item], drum.samples[item], 1.0 / (1 << 22)) << path << " item " << item;
    }
  }
}

}  // namespace
