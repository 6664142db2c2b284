// kh_compare_renders: compares two renders of the same groove and says whether they are the same,
// and if not, by how much and why.
//
//   kh_compare_renders EXPECTED.wav ACTUAL.wav
//       passes when the files hold the same samples, up to float rounding.
//   kh_compare_renders --tempo BPM --ticks-per-beat N EXPECTED.wav ACTUAL.wav
//       also passes when ACTUAL is EXPECTED with each sixteenth-note step moved by no more
//       than one tick of a host that reports its song position in whole 1/N beats.
//   kh_compare_renders --tempo BPM --ramp-seconds S EXPECTED.wav ACTUAL.wav
//       passes when ACTUAL is EXPECTED at a gain that rises in a straight line from 0 at the
//       start to 1 after S seconds (a host's automation lane on a volume): the peak of each
//       sixteenth-note step of ACTUAL is EXPECTED's times the gain at that peak.
//
// Either way both files must hold sound; the report names the largest difference and, when the
// files differ, the cause it finds: format, level or step timing. Exit code 0 when the files
// pass, 1 when they do not, 2 on bad use.
#include <sndfile.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

struct Sound {
  std::string path;
  int rate = 0;
  int channels = 0;
  std::vector<float> samples;  // interleaved

  int64_t frames() const { return channels > 0 ? static_cast<int64_t>(samples.size()) / channels : 0; }
  float at(int64_t frame, int channel) const {
    return frame >= 0 && frame < frames() ? samples[static_cast<size_t>(frame * channels + channel)] : 0.0f;
  }
};

std::optional<Sound> Read(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) {
    std::fprintf(stderr, "%s: %s\n", path.c_str(), sf_strerror(nullptr));
    return std::nullopt;
  }
  Sound sound{path, info.samplerate, info.channels, {}};
  sound.samples.resize(static_cast<size_t>(info.frames * info.channels));
  const sf_count_t read = sf_readf_float(file, sound.samples.data(), info.frames);
  sf_close(file);
  sound.samples.resize(static_cast<size_t>(read * info.channels));
  return sound;
}

float Peak(const Sound& sound) {
  float peak = 0.0f;
  for (float sample : sound.samples) peak = std::max(peak, std::fabs(sample));
  return peak;
}

// Energy of actual(frame + shift) - expected(frame) over [begin, end).
double Residual(const Sound& expected, const Sound& actual, int64_t begin, int64_t end, int64_t shift) {
  double sum = 0.0;
  for (int64_t frame = begin; frame < end; ++frame) {
    for (int channel = 0; channel < expected.channels; ++channel) {
      const double difference = actual.at(frame + shift, channel) - expected.at(frame, channel);
      sum += difference * difference;
    }
  }
  return sum;
}

double Energy(const Sound& sound, int64_t begin, int64_t end) {
  return Residual(Sound{.path = "", .channels = sound.channels, .samples = {}}, sound, begin, end,
                  0);  // against silence
}

struct Options {
  double tempo = 0.0;
  int ticksPerBeat = 0;
  double rampSeconds = 0.0;
  std::string expected;
  std::string actual;
};

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value > 0;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  std::vector<std::string> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    const bool hasValue = i + 1 < argc;
    if (argument == "--tempo" && hasValue) {
      if (!ParseNumber(argv[++i], options.tempo)) return std::nullopt;
    } else if (argument == "--ticks-per-beat" && hasValue) {
      if (!ParseNumber(argv[++i], options.ticksPerBeat)) return std::nullopt;
    } else if (argument == "--ramp-seconds" && hasValue) {
      if (!ParseNumber(argv[++i], options.rampSeconds)) return std::nullopt;
    } else if (argument.starts_with("-")) {
      return std::nullopt;
    } else {
      files.emplace_back(argument);
    }
  }
  const bool timed = options.ticksPerBeat > 0 || options.rampSeconds > 0.0;
  if (files.size() != 2 || (options.tempo > 0.0) != timed || (options.ticksPerBeat > 0 && options.rampSeconds > 0.0)) {
    return std::nullopt;
  }
  options.expected = files[0];
  options.actual = files[1];
  return options;
}

// How much difference the worst sixteenth-note step of actual keeps, as a fraction of the
// step's energy, after the move within one host tick that matches it best to expected.
double WorstStepResidual(const Sound& expected, const Sound& actual, const Options& options) {
  const double framesPerBeat = expected.rate * 60.0 / options.tempo;
  const auto stepFrames = static_cast<int64_t>(framesPerBeat / 4.0);
  const auto maxShift = static_cast<int64_t>(std::ceil(framesPerBeat / options.ticksPerBeat));
  double worst = 0.0;
  for (int64_t begin = 0; begin + stepFrames <= expected.frames(); begin += stepFrames) {
    const int64_t end = begin + stepFrames;
    const double energy = Energy(expected, begin, end);
    if (energy < 1e-6) continue;
    double best = Residual(expected, actual, begin, end, 0);
    for (int64_t shift = -maxShift; shift <= maxShift; ++shift) {
      best = std::min(best, Residual(expected, actual, begin, end, shift));
    }
    worst = std::max(worst, best / energy);
  }
  return worst;
}

// The peaks of actual against expected's, step by step, against the ramp's gain at each peak.
// Windows run from the middle of one step to the middle of the next, so that a hit that the host
// places a few frames off its step stays in its window.
bool CheckRamp(const Sound& expected, const Sound& actual, const Options& options) {
  constexpr double kTolerance = 0.02;  // of full gain; a host applies automation per block
  const auto stepFrames = static_cast<int64_t>(expected.rate * 60.0 / options.tempo / 4.0);
  const float loudest = Peak(expected);
  bool pass = true;
  for (int64_t begin = stepFrames / 2; begin < expected.frames(); begin += stepFrames) {
    const int64_t end = std::min(begin + stepFrames, expected.frames());
    float expectedPeak = 0.0f;
    float actualPeak = 0.0f;
    int64_t where = begin;
    for (int64_t frame = begin; frame < end; ++frame) {
      for (int channel = 0; channel < expected.channels; ++channel) {
        if (std::fabs(expected.at(frame, channel)) > expectedPeak) {
          expectedPeak = std::fabs(expected.at(frame, channel));
          where = frame;
        }
        actualPeak = std::max(actualPeak, std::fabs(actual.at(frame, channel)));
      }
    }
    if (expectedPeak < 0.05f * loudest) continue;
    const double seconds = static_cast<double>(where) / expected.rate;
    const double ramp = std::min(1.0, seconds / options.rampSeconds);
    const double gain = actualPeak / expectedPeak;
    const bool near = std::fabs(gain - ramp) <= kTolerance;
    pass = pass && near;
    if (!near) {
      std::printf("%7.3f s: peak %.4f of %.4f, gain %.3f, ramp %.3f  <- off the ramp\n", seconds,
                  static_cast<double>(actualPeak), static_cast<double>(expectedPeak), gain, ramp);
    }
  }
  std::printf(pass ? "Every step's peak follows the ramp within %.2f.\n"
                   : "FAILED: steps are off the ramp by more than %.2f.\n",
              kTolerance);
  return pass;
}

}  // namespace

int main(int argc, char** argv) {
  const std::optional<Options> options = ParseArguments(argc, argv);
  if (!options) {
    std::fprintf(stderr, "usage: %s [--tempo BPM (--ticks-per-beat N | --ramp-seconds S)] EXPECTED.wav ACTUAL.wav\n",
                 argv[0]);
    return 2;
  }
  const std::optional<Sound> expected = Read(options->expected);
  const std::optional<Sound> actual = Read(options->actual);
  if (!expected || !actual) return 1;

  for (const Sound* sound : {&*expected, &*actual}) {
    std::printf("%s: %lld frames, %d channels, %d Hz, peak %.3f\n", sound->path.c_str(),
                static_cast<long long>(sound->frames()), sound->channels, sound->rate, Peak(*sound));
    if (Peak(*sound) < 1e-3f) {
      std::printf("FAILED: a render is silent.\n");
      return 1;
    }
  }
  if (expected->rate != actual->rate || expected->channels != actual->channels ||
      expected->frames() != actual->frames()) {
    std::printf("FAILED: the renders differ in format or length.\n");
    return 1;
  }
  if (options->rampSeconds > 0.0) return CheckRamp(*expected, *actual, *options) ? 0 : 1;

  float largest = 0.0f;
  size_t where = 0;
  for (size_t i = 0; i < expected->samples.size(); ++i) {
    const float difference = std::fabs(actual->samples[i] - expected->samples[i]);
    if (difference > largest) {
      largest = difference;
      where = i;
    }
  }
  const auto frame = static_cast<int64_t>(where) / expected->channels;
  // Well below what a changed hit, level or timing makes, and above what adding the same
  // numbers in another order does (a host that adds many outputs into one bus in no fixed order
  // rounds differently from run to run).
  constexpr float kRoundingLimit = 1e-6f;
  if (largest <= kRoundingLimit) {
    std::printf("The renders are the same up to float rounding (largest difference %.1e at frame %lld).\n",
                static_cast<double>(largest), static_cast<long long>(frame));
    return 0;
  }
  std::printf("The renders differ: largest difference %.3f at frame %lld (%.3f s).\n", largest,
              static_cast<long long>(frame), static_cast<double>(frame) / expected->rate);
  const double levelDb =
      10.0 * std::log10(Energy(*actual, 0, actual->frames()) / Energy(*expected, 0, expected->frames()));
  const bool sameLevel = std::fabs(levelDb) <= 0.1;
  if (options->tempo > 0.0) {
    const double worstResidual = WorstStepResidual(*expected, *actual, *options);
    std::printf("The worst step keeps %.0f %% of its energy as difference after its best move.\n",
                100.0 * worstResidual);
    // A step whose sound is made of tails moved by different amounts keeps some difference after
    // the best single move; a wrong hit, pattern or tempo keeps about as much as the step holds.
    // The host reports its song position in whole ticks, and in Hsync the plug-in places each
    // block's steps from it, so a step lands up to half a tick from its exact frame.
    if (worstResidual <= 0.35 && sameLevel) {
      std::printf("Cause: step timing within the host's song position resolution.\n");
      return 0;
    }
  }
  if (!sameLevel) std::printf("Cause: the level differs by %+.2f dB.\n", levelDb);
  std::printf("FAILED: the difference is not explained by the host's step timing.\n");
  return 1;
}
