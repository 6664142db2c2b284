#include "tools/factorykit/SynthBlocks.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace factorykit {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kHighestHarmonic = 18000.0;
constexpr double kPeakLevel = 0.8912509;  // -1 dBFS
constexpr double kFadeInSeconds = 0.0003;
constexpr double kFadeOutSeconds = 0.012;
constexpr size_t kPeriodSize = 4096;

}  // namespace

int Frames(double seconds) { return static_cast<int>(seconds * kSampleRate); }

double Decay(double seconds, double tau) { return std::exp(-seconds / tau); }

float Noise::next() {
  // xorshift32: tiny, fast and the same everywhere.
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<float>(static_cast<double>(state_) / 2147483647.5 - 1.0);
}

SquareTone::SquareTone(double frequency, double phase)
    : period_(kPeriodSize),
      position_(std::fmod(phase / kTwoPi, 1.0) * kPeriodSize),
      step_(frequency * kPeriodSize / kSampleRate) {
  for (size_t index = 0; index < kPeriodSize; ++index) {
    const double angle = kTwoPi * static_cast<double>(index) / kPeriodSize;
    double sum = 0.0;
    for (int harmonic = 1; harmonic * frequency < kHighestHarmonic; harmonic += 2) {
      sum += std::sin(harmonic * angle) / harmonic;
    }
    period_[index] = static_cast<float>(sum * 4.0 / std::numbers::pi);
  }
}

float SquareTone::next() {
  const auto index = static_cast<size_t>(position_);
  const auto fraction = static_cast<float>(position_ - static_cast<double>(index));
  const float here = period_[index];
  const float there = period_[(index + 1) % kPeriodSize];
  position_ += step_;
  if (position_ >= kPeriodSize) position_ -= kPeriodSize;
  return here + fraction * (there - here);
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0) {}

Biquad Biquad::lowPass(double frequency, double q) {
  const double w = kTwoPi * frequency / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double c = std::cos(w);
  return Biquad((1.0 - c) / 2.0, 1.0 - c, (1.0 - c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::highPass(double frequency, double q) {
  const double w = kTwoPi * frequency / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double c = std::cos(w);
  return Biquad((1.0 + c) / 2.0, -(1.0 + c), (1.0 + c) / 2.0, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

Biquad Biquad::bandPass(double frequency, double q) {
  const double w = kTwoPi * frequency / kSampleRate;
  const double alpha = std::sin(w) / (2.0 * q);
  const double c = std::cos(w);
  return Biquad(alpha, 0.0, -alpha, 1.0 + alpha, -2.0 * c, 1.0 - alpha);
}

float Biquad::process(float input) {
  const double output = b0_ * input + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
  x2_ = x1_;
  x1_ = input;
  y2_ = y1_;
  y1_ = output;
  return static_cast<float>(output);
}

void FinishSound(std::span<float> interleaved, int channels) {
  const size_t frames = interleaved.size() / static_cast<size_t>(channels);
  const auto fadeIn = static_cast<size_t>(Frames(kFadeInSeconds));
  // Long tails fade over their last eighth, so that they die away rather than stop.
  const auto fadeOut = std::min(frames, std::max(static_cast<size_t>(Frames(kFadeOutSeconds)), frames / 8));
  for (size_t frame = 0; frame < frames; ++frame) {
    double gain = 1.0;
    if (frame < fadeIn) gain = static_cast<double>(frame) / static_cast<double>(fadeIn);
    const size_t left = frames - 1 - frame;  // frames after this one
    if (left < fadeOut) gain *= 0.5 - 0.5 * std::cos(std::numbers::pi * static_cast<double>(left) / fadeOut);
    for (int channel = 0; channel < channels; ++channel) {
      interleaved[frame * static_cast<size_t>(channels) + static_cast<size_t>(channel)] *= static_cast<float>(gain);
    }
  }
  float peak = 0.0f;
  for (const float value : interleaved) peak = std::max(peak, std::abs(value));
  if (peak == 0.0f) return;
  const auto scale = static_cast<float>(kPeakLevel / peak);
  for (float& value : interleaved) value *= scale;
}

}  // namespace factorykit
