// The few building blocks the drum sounds are made of: noise, band-limited tones, filters
// and envelopes. Everything is deterministic, so the generated kit is the same on every build.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace factorykit {

constexpr int kSampleRate = 48000;

// Frames in a number of seconds.
int Frames(double seconds);
// Seconds at a frame.
inline double TimeAt(int frame) { return static_cast<double>(frame) / kSampleRate; }
// An exponential decay that has fallen to 1/e after tau seconds (and to -60 dB after 6.9 tau).
double Decay(double seconds, double tau);

// White noise from -1 to 1 out of a fixed seed.
class Noise {
 public:
  explicit Noise(uint32_t seed) : state_(seed == 0 ? 1 : seed) {}
  float next();

 private:
  uint32_t state_;
};

// A square wave built from its odd harmonics below the audible limit, so it does not alias;
// one period is summed into a table up front and then read at the tone's rate.
class SquareTone {
 public:
  explicit SquareTone(double frequency, double phase = 0.0);
  float next();

 private:
  std::vector<float> period_;
  double position_;  // in table entries
  double step_;
};

// A second-order filter (the common "cookbook" designs).
class Biquad {
 public:
  static Biquad lowPass(double frequency, double q = 0.7071);
  static Biquad highPass(double frequency, double q = 0.7071);
  static Biquad bandPass(double frequency, double q);
  float process(float input);

 private:
  Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
  double b0_, b1_, b2_, a1_, a2_;
  double x1_ = 0.0, x2_ = 0.0, y1_ = 0.0, y2_ = 0.0;
};

// Ready for a file: fades at both ends so it starts and stops without a click, and the
// loudest sample of all channels brought to -1 dBFS.
void FinishSound(std::span<float> interleaved, int channels);

}  // namespace factorykit
