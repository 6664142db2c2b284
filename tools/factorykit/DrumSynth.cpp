#include "tools/factorykit/DrumSynth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "engine/Limits.h"
#include "tools/factorykit/SynthBlocks.h"

namespace factorykit {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Mono sounds are written sample by sample through this.
template <typename Voice>
Sound Mono(double seconds, Voice voice) {
  Sound sound;
  sound.samples.resize(static_cast<size_t>(Frames(seconds)));
  for (int frame = 0; frame < sound.frames(); ++frame) sound.samples[static_cast<size_t>(frame)] = voice(TimeAt(frame));
  return sound;
}

// Stereo sounds run one voice per channel, each with its own seed and phases, for width.
template <typename MakeVoice>
Sound Stereo(double seconds, MakeVoice makeVoice) {
  Sound sound;
  sound.channels = 2;
  const int frames = Frames(seconds);
  sound.samples.resize(static_cast<size_t>(frames) * 2);
  for (int channel = 0; channel < 2; ++channel) {
    auto voice = makeVoice(channel);
    for (int frame = 0; frame < frames; ++frame) {
      sound.samples[static_cast<size_t>(frame) * 2 + static_cast<size_t>(channel)] = voice(TimeAt(frame));
    }
  }
  return sound;
}

// A pitched drum: a sine whose pitch falls quickly from a higher start to its body, a soft
// stick click, and a gentle saturation for weight.
Sound DrumBody(double seconds, double frequency, double drop, double sweepTau, double tau, double clickLevel,
               uint32_t seed) {
  return Mono(seconds, [=, phase = 0.0, noise = Noise(seed), click = Biquad::lowPass(4000.0)](double t) mutable {
    phase += kTwoPi * frequency * (1.0 + drop * Decay(t, sweepTau)) / kSampleRate;
    const double body = std::sin(phase) * Decay(t, tau);
    const double stick = clickLevel * click.process(noise.next()) * Decay(t, 0.003);
    return static_cast<float>(std::tanh(1.5 * (body + stick)));
  });
}

Sound Kick() { return DrumBody(0.75, 46.0, 2.4, 0.03, 0.11, 0.5, 11); }
Sound LowTom() { return DrumBody(0.9, 92.0, 0.45, 0.05, 0.16, 0.3, 21); }
Sound MidTom() { return DrumBody(0.8, 132.0, 0.4, 0.045, 0.14, 0.3, 22); }
Sound HighTom() { return DrumBody(0.7, 184.0, 0.35, 0.04, 0.12, 0.3, 23); }

Sound Snare() {
  return Mono(0.55, [noise = Noise(31), colour = Biquad::highPass(1200.0),
                     air = Biquad::lowPass(9000.0)](double t) mutable {
    const double shell = (0.7 * std::sin(kTwoPi * 185.0 * t) + 0.35 * std::sin(kTwoPi * 330.0 * t)) * Decay(t, 0.045);
    const double wires = air.process(colour.process(noise.next())) * Decay(t, 0.08);
    return static_cast<float>(shell + 0.9 * wires);
  });
}

Sound Rimshot() {
  return Mono(0.15, [noise = Noise(41), crack = Biquad::highPass(2500.0)](double t) mutable {
    const double ring =
        0.8 * std::sin(kTwoPi * 1720.0 * t) * Decay(t, 0.009) + 0.6 * std::sin(kTwoPi * 470.0 * t) * Decay(t, 0.016);
    return static_cast<float>(ring + 0.6 * crack.process(noise.next()) * Decay(t, 0.0035));
  });
}

Sound Clap() {
  return Stereo(0.6, [](int channel) {
    return [noise = Noise(51), spread = Noise(static_cast<uint32_t>(52 + channel)),
            band = Biquad::bandPass(1150.0, 1.4), sign = channel == 0 ? 1.0 : -1.0](double t) mutable {
      // Several hands a few milliseconds apart, then the room.
      double envelope = 0.0;
      for (const double start : {0.0, 0.011, 0.021, 0.030}) {
        if (t >= start) envelope = std::max(envelope, Decay(t - start, 0.0045));
      }
      if (t >= 0.030) envelope = std::max(envelope, 0.6 * Decay(t - 0.030, 0.085));
      const double source = noise.next() + sign * 0.3 * spread.next();
      return static_cast<float>(band.process(static_cast<float>(source)) * envelope);
    };
  });
}

Sound Shaker() {
  return Stereo(0.25, [](int channel) {
    return [noise = Noise(static_cast<uint32_t>(61 + channel)), low = Biquad::highPass(5000.0),
            band = Biquad::bandPass(8500.0, 0.9)](double t) mutable {
      const double rise = std::min(1.0, t / 0.018);
      const double envelope = rise * rise * (t < 0.018 ? 1.0 : Decay(t - 0.018, 0.035));
      return static_cast<float>(band.process(low.process(noise.next())) * envelope);
    };
  });
}

// Six detuned square waves: the metallic tone of hats and cymbals.
class Metal {
 public:
  Metal(double spread, double phase) {
    constexpr std::array<double, 6> kBase = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
    for (size_t index = 0; index < kBase.size(); ++index) {
      tones_.emplace_back(kBase[index] * spread, phase * static_cast<double>(index + 1));
    }
  }
  float next() {
    float sum = 0.0f;
    for (SquareTone& tone : tones_) sum += tone.next();
    return sum / static_cast<float>(tones_.size());
  }

 private:
  std::vector<SquareTone> tones_;
};

// Hats: metal and a little noise above 7 kHz, decaying at the given rate.
Sound Hat(double seconds, double tau, uint32_t seed) {
  return Stereo(seconds, [=](int channel) {
    return [metal = Metal(1.55, 0.7 * channel), noise = Noise(seed + static_cast<uint32_t>(channel)),
            high1 = Biquad::highPass(7000.0), high2 = Biquad::highPass(7000.0), tau](double t) mutable {
      const double source = metal.next() + 0.35 * noise.next();
      return static_cast<float>(high2.process(high1.process(static_cast<float>(source))) * Decay(t, tau));
    };
  });
}

Sound ClosedHat() { return Hat(0.16, 0.02, 71); }
Sound OpenHat() { return Hat(1.2, 0.17, 73); }

Sound Crash() {
  return Stereo(3.0, [](int channel) {
    return [low = Metal(1.0, 1.3 * channel), high = Metal(2.37, 0.4 + channel), noise = Noise(81 + channel),
            cut = Biquad::highPass(3500.0), shine = Biquad::highPass(3500.0)](double t) mutable {
      const double source = low.next() + high.next() + 0.6 * noise.next();
      const double envelope = std::min(1.0, t / 0.002) * (0.35 * Decay(t, 0.06) + 0.65 * Decay(t, 0.5));
      return static_cast<float>(shine.process(cut.process(static_cast<float>(source))) * envelope);
    };
  });
}

Sound Cowbell() {
  return Mono(
      0.5, [low = SquareTone(562.0), high = SquareTone(845.0), body = Biquad::bandPass(850.0, 1.2)](double t) mutable {
        const double envelope = 0.5 * Decay(t, 0.012) + 0.5 * Decay(t, 0.075);
        return static_cast<float>(body.process(0.5f * (low.next() + high.next())) * envelope);
      });
}

}  // namespace

Sound SynthesiseDrum(int holder) {
  using Synthesis = Sound (*)();
  // In holder order: C, C#, D, ... B.
  constexpr std::array<Synthesis, engine::kHolderCount> kDrums = {Kick,      Rimshot, Snare,   Clap,    Shaker,  LowTom,
                                                                  ClosedHat, MidTom,  Cowbell, HighTom, OpenHat, Crash};
  Sound sound = kDrums.at(static_cast<size_t>(holder))();
  FinishSound(sound.samples, sound.channels);
  return sound;
}

}  // namespace factorykit
