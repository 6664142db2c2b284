// Tuned sound as a host hears it: a 440 Hz sine sample recorded at 44.1 kHz, played at every
// pitch in sessions of 44.1, 48 and 96 kHz, sounds at 440 * 2^(pitch/12) Hz within a cent, and
// without spurious tones.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

#include "engine/Limits.h"
#include "support/EffectFixture.h"

namespace {

using testhost::kNoteOn;

constexpr uint8_t kKick = engine::kFirstNote;
constexpr double kToneHz = 440.0;
constexpr int32_t kFileRate = 44100;
constexpr int32_t kBlock = 4096;
constexpr double kPi = 3.14159265358979323846;

std::vector<float> Sine(double hz, int32_t rate, int32_t frames) {
  std::vector<float> samples(static_cast<size_t>(frames));
  for (int32_t i = 0; i < frames; ++i) {
    samples[static_cast<size_t>(i)] = static_cast<float>(0.5 * std::sin(2.0 * kPi * hz * i / rate));
  }
  return samples;
}

// The stretch of a played tone that is measured: its middle, clear of its edges.
struct Stretch {
  size_t first;
  size_t last;
};

Stretch Middle(const std::vector<float>& played) {
  size_t end = played.size();
  while (end > 0 && played[end - 1] == 0.0f) --end;
  return {end / 10, end - end / 10};
}

// The mean frequency from the first to the last rising zero crossing, each placed between its
// two frames on the straight line through them.
double Frequency(const std::vector<float>& played, Stretch stretch, double rate) {
  double first = -1.0;
  double last = -1.0;
  int periods = 0;
  for (size_t i = stretch.first; i + 1 < stretch.last; ++i) {
    if (played[i] < 0.0f && played[i + 1] >= 0.0f) {
      const double crossing = static_cast<double>(i) + played[i] / (played[i] - played[i + 1]);
      if (first < 0.0) {
        first = crossing;
      } else {
        last = crossing;
        ++periods;
      }
    }
  }
  return periods == 0 ? 0.0 : periods * rate / (last - first);
}

// Everything in the stretch that is not the tone, in dB relative to the tone: the residual of
// the sine (amplitude, phase, offset and frequency) that fits it best by least squares. No
// spurious component can stand above the sum of them all.
double SpuriousLevel(const std::vector<float>& played, Stretch stretch, double rate, double hz) {
  const size_t count = stretch.last - stretch.first;
  const double middle = static_cast<double>(count) / 2.0;
  double omega = 2.0 * kPi * hz / rate;
  std::array<double, 4> fit{};  // cosine, sine, offset, then the frequency step
  double residual = 0.0;
  for (int round = 0; round < 8; ++round) {
    std::array<std::array<double, 5>, 4> normal{};
    for (size_t i = 0; i < count; ++i) {
      const double t = static_cast<double>(i) - middle;
      const double c = std::cos(omega * t);
      const double s = std::sin(omega * t);
      const std::array<double, 4> basis{c, s, 1.0, t * (-fit[0] * s + fit[1] * c)};
      const double y = played[stretch.first + i];
      for (size_t r = 0; r < 4; ++r) {
        for (size_t k = 0; k < 4; ++k) normal[r][k] += basis[r] * basis[k];
        normal[r][4] += basis[r] * y;
      }
    }
    const size_t unknowns = round == 0 ? 3 : 4;  // the first round finds the amplitude
    for (size_t p = 0; p < unknowns; ++p) {
      for (size_t r = p + 1; r < unknowns; ++r) {
        const double factor = normal[r][p] / normal[p][p];
        for (size_t k = p; k < 5; ++k) normal[r][k] -= factor * normal[p][k];
      }
    }
    std::array<double, 4> solved{};
    for (size_t p = unknowns; p-- > 0;) {
      double sum = normal[p][4];
      for (size_t k = p + 1; k < unknowns; ++k) sum -= normal[p][k] * solved[k];
      solved[p] = sum / normal[p][p];
    }
    fit = {solved[0], solved[1], solved[2], 0.0};
    omega += solved[3];
  }
  for (size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) - middle;
    const double tone = fit[0] * std::cos(omega * t) + fit[1] * std::sin(omega * t) + fit[2];
    const double error = played[stretch.first + i] - tone;
    residual += error * error;
  }
  const double tone = (fit[0] * fit[0] + fit[1] * fit[1]) / 2.0 * static_cast<double>(count);
  return 10.0 * std::log10(residual / tone);
}

class TunedSound : public testhost::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    engine().setSyncMode(engine::SyncMode::Midi);
    testhost::InstallSamples(kit(), kKick, Sine(kToneHz, kFileRate, kFileRate), 1, kFileRate);
  }

  // Holder C at a pitch in a Tuned session of a rate, from its note-on until it ends.
  std::vector<float> play(double rate, int pitch) {
    host->start(static_cast<float>(rate), kBlock);  // the rate, then resume: Tuned is prepared by then
    vst().instrument().setSoundMode(engine::SoundMode::Tuned);
    vst().instrument().setPitch(0, pitch);
    vst().instrument().waitUntilPrepared();
    host->sendMidi({{0, kNoteOn, kKick, 127}});
    std::vector<float> played;
    testhost::Block block(engine::kOutputCount, kBlock);
    // The longest tone: the second of the sample played an octave down.
    while (played.size() < static_cast<size_t>(2.2 * rate)) {
      host->processInto(block, kBlock);
      played.insert(played.end(), block.outputs[0].begin(), block.outputs[0].end());
    }
    return played;
  }
};

// A fifth up at 48 kHz has no spurious tone above 90 dB below the tone.
TEST_F(TunedSound, EveryPitchAtEverySessionRateIsWithinACentAndAFifthUpIsClean) {
  constexpr int kFifth = 7;
  for (int pitch = -engine::kMaxPitch; pitch <= engine::kMaxPitch; ++pitch) {
    for (const double rate : {44100.0, 48000.0, 96000.0}) {
      const std::vector<float> played = play(rate, pitch);
      const double hz = kToneHz * std::exp2(pitch / 12.0);
      EXPECT_LE(std::fabs(1200.0 * std::log2(Frequency(played, Middle(played), rate) / hz)), 1.0)
          << "pitch " << pitch << " at " << rate << " Hz";
      if (pitch == kFifth && rate == 48000.0) {
        EXPECT_LT(SpuriousLevel(played, Middle(played), rate, hz), -90.0);
      }
    }
  }
}

// High in the band, where an interpolating converter leaves images of the tone: still clean.
TEST_F(TunedSound, AToneHighInTheBandIsConvertedCleanly) {
  constexpr double kHighHz = 15000.0;
  testhost::InstallSamples(kit(), kKick, Sine(kHighHz, kFileRate, kFileRate), 1, kFileRate);
  const std::vector<float> played = play(48000.0, 0);
  EXPECT_LT(SpuriousLevel(played, Middle(played), 48000.0, kHighHz), -90.0);
}

}  // namespace
