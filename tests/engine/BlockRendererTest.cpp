// The block renderer against the frame-by-frame reference on random cases: two engines get
// the same kit (with choke groups), patterns (with step velocities), host times, notes and edits
// between blocks; after every block all 24
// outputs must be equal bit for bit, and so must every voice's and the clock's state. Every
// other case renders with the baseline vectors only, so both widths of the voice's runs are
// checked where the processor has the wider ones.
//
// KH_RENDER_CASES and KH_RENDER_SEED run more cases or other ones (the default is fixed).
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "engine/DrumEngine.h"
#include "engine/Limits.h"
#include "reference/ReferenceFrameLoop.h"

namespace engine {
namespace {

uint64_t EnvironmentNumber(const char* name, uint64_t fallback) {
  const char* text = std::getenv(name);
  return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

class Random {
 public:
  explicit Random(uint64_t seed) : generator_(seed) {}
  int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(generator_); }
  double real(double low, double high) { return std::uniform_real_distribution<double>(low, high)(generator_); }
  bool chance(double probability) { return real(0.0, 1.0) < probability; }

 private:
  std::mt19937_64 generator_;
};

float SampleValue(Random& random) {
  // Signed zeros, denormals, infinity, not-a-number, huge values, and a value whose products
  // underflow and are flushed, now and then among ordinary ones.
  constexpr float kSpecial[] = {
      -0.0f, 0.0f,  1e-40f, -3e-39f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
      3e38f, 1e-38f};
  const int pick = random.between(0, 199);
  return pick < 8 ? kSpecial[pick] : static_cast<float>(random.real(-1.0, 1.0));
}

std::vector<float> SampleData(Random& random, uint32_t& channels) {
  const int size = random.between(0, 9);
  const auto frames = static_cast<uint32_t>(size == 0  ? random.between(0, 6)
                                            : size < 8 ? random.between(50, 3000)
                                                       : random.between(3000, 30000));
  const int kind = random.between(0, 9);
  channels = kind < 2 ? 1 : kind < 9 ? 2 : 3;
  std::vector<float> data(static_cast<size_t>(frames) * channels);
  for (float& value : data) value = SampleValue(random);
  return data;
}

float Gain(Random& random) {
  const int kind = random.between(0, 9);
  return kind < 3 ? 1.0f : kind == 3 ? 0.0f : static_cast<float>(random.real(0.0, 1.5));
}

// The engine under test and the reference, given the same changes.
struct EnginePair {
  std::unique_ptr<DrumEngine> reference = std::make_unique<DrumEngine>();
  std::unique_ptr<DrumEngine> tested = std::make_unique<DrumEngine>();

  template <typename Change>
  void apply(Change&& change) {
    change(*reference);
    change(*tested);
  }
  void installSample(uint8_t note, const std::vector<float>& data, uint32_t channels) {
    apply([&](DrumEngine& engine) {
      auto buffer = SampleBuffer::allocate(static_cast<uint32_t>(data.size() / channels), channels);
      if (!data.empty()) std::memcpy(buffer->samples.get(), data.data(), data.size() * sizeof(float));
      engine.kit().holder(note).installSample(std::move(buffer));
    });
  }
};

void RandomSettings(Random& random, EnginePair& pair, uint8_t note) {
  const float volume = Gain(random);
  const float pan = random.chance(0.3) ? 0.5f : static_cast<float>(random.real(0.0, 1.0));
  const float fraction = random.chance(0.6) ? 1.0f : static_cast<float>(random.real(-0.1, 1.2));
  const int pitchKind = random.between(0, 9);
  const int pitch = pitchKind < 3 ? 0 : pitchKind < 8 ? random.between(-2, 2) : random.between(-14, 14);
  const uint32_t mute = random.chance(0.85) ? kNotMuted : static_cast<uint32_t>(random.between(1, 2));
  const bool swing = random.chance(0.3);
  const int chokeGroup = random.chance(0.4) ? kNoChokeGroup : random.between(1, 2);
  pair.apply([&](DrumEngine& engine) {
    SampleHolder& holder = engine.kit().holder(note);
    holder.setVolume(volume);
    holder.setPan(pan);
    holder.setLengthFraction(fraction);
    holder.setPitch(static_cast<int8_t>(pitch));
    holder.setMuteState(mute);
    holder.setSwing(swing);
    holder.setChokeGroup(chokeGroup);
  });
}

// A sounding cell: as a project text sets it (full velocity), or at a velocity of its own.
uint32_t SoundingCell(Random& random) {
  return random.chance(0.3) ? 1 : (static_cast<uint32_t>(random.between(1, 127)) << 8) | 1;
}

// What the user or the host may change between two blocks.
void RandomEdit(Random& random, EnginePair& pair) {
  const auto note = static_cast<uint8_t>(kFirstNote + random.between(0, kHolderCount - 1));
  switch (random.between(0, 10)) {
    case 0:
      RandomSettings(random, pair, note);
      break;
    case 1:
      pair.apply([&](DrumEngine& engine) { engine.kit().startPreview(note); });
      break;
    case 2: {
      const auto velocity = static_cast<uint8_t>(random.between(1, 127));
      pair.apply([&](DrumEngine& engine) { engine.kitPlayer().noteOn(note, velocity); });
      break;
    }
    case 3:
      pair.apply([&](DrumEngine& engine) { engine.kitPlayer().noteOff(note); });
      break;
    case 4: {
      const bool downmix = random.chance(0.5);
      pair.apply([&](DrumEngine& engine) { engine.kitPlayer().setDownmix(downmix); });
      break;
    }
    case 5: {
      uint32_t channels = 1;
      const std::vector<float> data = SampleData(random, channels);
      pair.installSample(note, data, channels);
      break;
    }
    case 6: {
      const int pattern = random.between(0, kPatternCount - 1);
      pair.apply([&](DrumEngine& engine) { engine.clock().selectPattern(pattern); });
      break;
    }
    case 7: {
      const int pattern = random.between(0, kPatternCount - 1);
      const int32_t resolution = kDefaultResolution << random.between(0, 3);
      pair.apply([&](DrumEngine& engine) { engine.patterns().setResolution(pattern, resolution); });
      break;
    }
    case 8:
      pair.apply([](DrumEngine& engine) { engine.clock().rewind(); });
      break;
    case 9: {
      const int pattern = random.between(0, kPatternCount - 1);
      const int step = random.between(0, kMaxSteps - 1);
      const int holder = random.between(0, kHolderCount - 1);
      const uint32_t cell = SoundingCell(random);
      pair.apply([&](DrumEngine& engine) { engine.patterns().setCell(cell, pattern, step, holder); });
      break;
    }
    default:
      break;
  }
}

// The first difference in outputs or state, or an empty text.
std::string Difference(const DrumEngine& reference, const DrumEngine& tested,
                       const std::vector<std::vector<float>>& expected, const std::vector<std::vector<float>>& actual) {
  std::ostringstream text;
  for (size_t output = 0; output < expected.size(); ++output) {
    for (size_t frame = 0; frame < expected[output].size(); ++frame) {
      const auto want = std::bit_cast<uint32_t>(expected[output][frame]);
      const auto got = std::bit_cast<uint32_t>(actual[output][frame]);
      if (want != got) {
        text << "output " << output << " frame " << frame << ": " << std::hex << want << " expected, " << got
             << " rendered";
        return text.str();
      }
    }
  }
  const KitPlayer& wantPlayer = reference.kitPlayer();
  const KitPlayer& gotPlayer = tested.kitPlayer();
  for (int index = 0; index < kHolderCount; ++index) {
    const auto note = static_cast<uint8_t>(kFirstNote + index);
    const SampleHolder& want = reference.kit().holder(note);
    const SampleHolder& got = tested.kit().holder(note);
    const auto state = [](const SampleHolder& holder, const KitPlayer& player, uint8_t n) {
      return std::tuple{holder.voicePosition(),
                        holder.pitchCountdown(),
                        holder.previewPosition(),
                        holder.isPreviewPlaying(),
                        std::bit_cast<uint32_t>(player.releaseGain(n)),
                        player.releasing(n),
                        player.triggered(n),
                        std::bit_cast<uint32_t>(player.velocityGain(n))};
    };
    if (state(want, wantPlayer, note) != state(got, gotPlayer, note)) {
      text << "holder " << index << " state: position " << want.voicePosition() << "/" << got.voicePosition()
           << ", countdown " << int{want.pitchCountdown()} << "/" << int{got.pitchCountdown()};
      return text.str();
    }
  }
  const StepClock& want = reference.clock();
  const StepClock& got = tested.clock();
  if (want.barPosition() != got.barPosition() || want.currentStep() != got.currentStep() ||
      want.currentPattern() != got.currentPattern() ||
      ReferenceFrameLoop::nextStepIndex(want) != ReferenceFrameLoop::nextStepIndex(got)) {
    text << "clock: bar position " << want.barPosition() << "/" << got.barPosition() << ", step " << want.currentStep()
         << "/" << got.currentStep() << ", next step " << ReferenceFrameLoop::nextStepIndex(want) << "/"
         << ReferenceFrameLoop::nextStepIndex(got);
  }
  return text.str();
}

// One random case: a kit, patterns and host, then 3..40 blocks. Empty when all agreed.
std::string RunCase(uint64_t seed) {
  Random random(seed);
  EnginePair pair;
  constexpr SyncMode kModes[] = {SyncMode::Midi, SyncMode::Hsync, SyncMode::Run, SyncMode::Stop};
  const SyncMode mode = kModes[random.between(0, 9) < 4 ? 0 : random.between(1, 3)];
  const bool downmix = random.chance(0.25);
  const int masterKind = random.between(0, 9);
  // A negative level cannot be set in the editor, but the arithmetic must agree all the same.
  const float master = masterKind == 0 ? -0.5f : masterKind < 5 ? static_cast<float>(random.real(0.0, 1.0)) : 0.75f;
  pair.apply([&](DrumEngine& engine) {
    engine.setSyncMode(mode);
    engine.kitPlayer().setDownmix(downmix);
    engine.kitPlayer().setMasterLevel(master);
  });
  for (int index = 0; index < kHolderCount; ++index) {
    if (random.chance(0.12)) continue;
    const auto note = static_cast<uint8_t>(kFirstNote + index);
    uint32_t channels = 1;
    const std::vector<float> data = SampleData(random, channels);
    pair.installSample(note, data, channels);
    RandomSettings(random, pair, note);
  }
  const float swing = static_cast<float>(random.real(0.0, 1.0));
  const double density = random.real(0.0, 0.6);
  for (int pattern = 0; pattern < kPatternCount; ++pattern) {
    const int32_t resolution = kDefaultResolution << random.between(0, 3);
    std::vector<std::tuple<int, int, uint32_t>> cells;
    for (int step = 0; step < resolution; ++step) {
      for (int holder = 0; holder < kHolderCount; ++holder) {
        if (random.chance(density)) cells.emplace_back(step, holder, SoundingCell(random));
      }
    }
    pair.apply([&](DrumEngine& engine) {
      engine.patterns().setResolution(pattern, resolution);
      for (const auto& [step, holder, cell] : cells) engine.patterns().setCell(cell, pattern, step, holder);
      engine.editorState().swingAmount = swing;
    });
  }
  const auto firstPattern = static_cast<uint8_t>(random.between(0, kPatternCount - 1));
  pair.apply([&](DrumEngine& engine) { engine.clock().selectPattern(firstPattern); });

  HostTime time;
  time.available = random.chance(0.93);
  time.sampleRate = random.chance(0.7) ? 48000.0 : 44100.0;
  time.tempo = random.chance(0.5) ? 120.0 : random.real(40.0, 300.0);
  time.playing = random.chance(0.8);
  time.ppqValid = random.chance(0.95);
  time.tempoValid = random.chance(0.95);
  time.ppqPos = random.chance(0.7) ? 0.0 : random.real(-2.0, 50.0);

  constexpr int32_t kBlockSizes[] = {1, 2, 3, 5, 16, 64, 100, 255, 511, 512, 512, 512, 1000, 1024, 2048};
  constexpr int kLastSize = static_cast<int>(std::size(kBlockSizes)) - 1;
  const int32_t fixedSize = kBlockSizes[random.between(0, kLastSize)];
  const bool varying = random.chance(0.3);
  const int blocks = random.between(3, 40);
  for (int block = 0; block < blocks; ++block) {
    const int32_t frames = varying ? kBlockSizes[random.between(0, kLastSize)] : fixedSize;
    for (int edits = random.between(0, 3); edits > 0; --edits) RandomEdit(random, pair);
    // This block's notes, some beyond its end.
    for (int notes = random.between(0, 3) == 0 ? 0 : random.between(1, 12); notes > 0; --notes) {
      const int kind = random.between(0, 9);
      const auto note = static_cast<uint8_t>(kind < 6   ? random.between(kFirstNote, kLastNote)
                                             : kind < 9 ? random.between(kFirstPatternNote, kLastPatternNote)
                                                        : random.between(0, 127));
      const uint8_t status = random.chance(0.75) ? 0x90 : 0x80;
      const auto velocity = static_cast<uint8_t>(random.chance(0.1) ? 0 : random.between(1, 127));
      const auto offset =
          static_cast<uint16_t>(random.chance(0.9) ? random.between(0, frames - 1) : random.between(0, frames + 600));
      pair.apply([&](DrumEngine& engine) { engine.receiveMidiNote(status, note, velocity, offset); });
    }
    // Outputs start as different not-a-numbers, so a frame left unwritten shows.
    std::vector<std::vector<float>> expected(kOutputCount,
                                             std::vector<float>(frames, std::bit_cast<float>(0x7fa11111u)));
    std::vector<std::vector<float>> actual(kOutputCount, std::vector<float>(frames, std::bit_cast<float>(0x7fb22222u)));
    std::vector<float*> expectedOutputs;
    std::vector<float*> actualOutputs;
    for (int output = 0; output < kOutputCount; ++output) {
      expectedOutputs.push_back(expected[output].data());
      actualOutputs.push_back(actual[output].data());
    }
    ReferenceFrameLoop::renderBlock(*pair.reference, time, expectedOutputs.data(), frames);
    pair.tested->renderBlock(time, actualOutputs.data(), frames);
    const std::string difference = Difference(*pair.reference, *pair.tested, expected, actual);
    if (!difference.empty())
      return "block " + std::to_string(block) + " of " + std::to_string(frames) + " frames: " + difference;
    // The host's transport moves on, now and then jumping (a loop), stopping or changing tempo.
    time.ppqPos += frames * time.tempo / (60.0 * time.sampleRate);
    if (random.chance(0.03)) time.ppqPos = random.real(-1.0, 20.0);
    if (random.chance(0.02)) time.playing = !time.playing;
    if (random.chance(0.02)) time.tempo = random.real(40.0, 300.0);
  }
  return {};
}

TEST(BlockRenderer, MatchesTheFrameLoopBitForBitOnRandomCases) {
  const uint64_t cases = EnvironmentNumber("KH_RENDER_CASES", 2000);
  const uint64_t seed = EnvironmentNumber("KH_RENDER_SEED", 20240601);
  int failures = 0;
  for (uint64_t index = 0; index < cases && failures < 5; ++index) {
    const uint64_t caseSeed = seed + index * 0x9E3779B97F4A7C15ULL;
    const bool wide = index % 2 == 0;
    AllowWideVectors(wide);
    const std::string difference = RunCase(caseSeed);
    if (!difference.empty()) {
      ++failures;
      ADD_FAILURE() << "case " << index << " (seed " << caseSeed << ", " << (wide ? "wide" : "baseline")
                    << " vectors): " << difference;
    }
  }
  AllowWideVectors(true);
}

}  // namespace
}  // namespace engine
