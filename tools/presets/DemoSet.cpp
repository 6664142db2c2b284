#include "presets/DemoSet.h"

#include <string>

#include "factorykit/FactoryKit.h"
#include "platform/Paths.h"

namespace presets {
namespace {

enum Holder { Kick, Rimshot, Snare, Clap, Shaker, LowTom, ClosedHat, MidTom, Cowbell, HighTom, OpenHat, Crash };

struct Mix {
  float volume;
  float pan;
  bool swing;
};

// In holder order. The hats and the shaker swing; toms spread from left to right. The levels
// leave every demo pattern at least 1 dB below full scale at the default master level.
constexpr Mix kMix[engine::kHolderCount] = {
    {0.7f, 0.5f, false},    // Kick
    {0.5f, 0.55f, false},   // Rimshot
    {0.63f, 0.5f, false},   // Snare
    {0.56f, 0.45f, false},  // Clap
    {0.32f, 0.35f, true},   // Shaker
    {0.56f, 0.35f, false},  // Low Tom
    {0.42f, 0.6f, true},    // Closed Hat
    {0.56f, 0.5f, false},   // Mid Tom
    {0.42f, 0.6f, false},   // Cowbell
    {0.56f, 0.65f, false},  // High Tom
    {0.42f, 0.6f, true},    // Open Hat
    {0.5f, 0.4f, false},    // Crash
};

constexpr float kSwingAmount = 0.3f;
// The closed hat cuts the open one off, as on a real hi-hat, and the open one the closed one.
constexpr int kHatChokeGroup = 1;

struct Line {
  Holder holder;
  std::string_view steps;  // one character per step: 'x' sounds, anything else is silent
};

void WritePattern(engine::PatternStore& patterns, int pattern, int32_t resolution, std::initializer_list<Line> lines) {
  patterns.setResolution(pattern, resolution);
  for (const Line& line : lines) {
    for (size_t step = 0; step < line.steps.size(); ++step) {
      if (line.steps[step] == 'x')
        patterns.setCell(engine::kSoundingStepCell, pattern, static_cast<int>(step), line.holder);
    }
  }
}

}  // namespace

void BuildDemoSet(engine::DrumEngine& engine, std::string_view samplesFolder) {
  // New instances play in tune at the session's rate.
  engine.kit().setSoundMode(engine::SoundMode::Tuned);
  for (int index = 0; index < engine::kHolderCount; ++index) {
    engine::SampleHolder& holder = engine.kit().holder(static_cast<uint8_t>(engine::kFirstNote + index));
    holder.setName(factorykit::kSoundNames[index]);
    holder.setPath(std::string(samplesFolder) + factorykit::kFolder + platform::kPathSeparator +
                   factorykit::kFileNames[index]);
    holder.setVolume(kMix[index].volume);
    holder.setPan(kMix[index].pan);
    holder.setSwing(kMix[index].swing);
    if (index == ClosedHat || index == OpenHat) holder.setChokeGroup(kHatChokeGroup);
  }

  engine::PatternStore& patterns = engine.patterns();
  patterns.setSwingAmount(kSwingAmount);
  // Main groove.
  WritePattern(patterns, 0, 16,
               {{Kick, "x.....x.x......."},
                {Snare, "....x.......x..."},
                {ClosedHat, "x.x.x.x.x.x.x.x."},
                {Shaker, ".x.x.x.x.x.x.x.x"}});
  // Variation: a pushed kick, a clap on the backbeat and an open hat into the next bar.
  WritePattern(patterns, 1, 16,
               {{Kick, "x.....x.x.x....."},
                {Snare, "....x.......x..x"},
                {Clap, "............x..."},
                {ClosedHat, "x.x.x.x.x.x.x..."},
                {OpenHat, "..............x."},
                {Shaker, ".x.x.x.x.x.x.x.x"}});
  // Variation in 32nd steps: sixteenth hats with a roll and ghost rimshots.
  WritePattern(patterns, 2, 32,
               {{Kick, "x...........x...x...x..........."},
                {Snare, "........x...............x......."},
                {Rimshot, "..............x.............x..."},
                {ClosedHat, "x.x.x.x.x.x.x.x.x.x.x.x.x.x.xxxx"}});
  // Fill: snare pickups and toms falling from high to low.
  WritePattern(patterns, 3, 16,
               {{Kick, "x..............."},
                {Snare, "....x.x...x....x"},
                {HighTom, "........xx......"},
                {MidTom, "..........xx...."},
                {LowTom, "............xxx."},
                {ClosedHat, "x.x.x.x........."}});
  // The main groove opened with a crash, for the bar after the fill.
  WritePattern(patterns, 4, 16,
               {{Kick, "x.....x.x......."},
                {Snare, "....x.......x..."},
                {Crash, "x..............."},
                {ClosedHat, "..x.x.x.x.x.x.x."},
                {Shaker, ".x.x.x.x.x.x.x.x"}});
  // Cowbell groove.
  WritePattern(patterns, 5, 16,
               {{Kick, "x..x..x...x....."},
                {Snare, "....x.......x..."},
                {Cowbell, "x..x..x...x.x..."},
                {Rimshot, "..x..x....x..x.."},
                {ClosedHat, "x.xxx.xxx.xxx.xx"}});
}

}  // namespace presets
