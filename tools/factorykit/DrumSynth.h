// The synthesised drums of the factory kit.
#pragma once

#include <vector>

namespace factorykit {

struct Sound {
  int channels = 1;
  std::vector<float> samples;  // interleaved, at kSampleRate, peaks at -1 dBFS
  int frames() const { return static_cast<int>(samples.size()) / channels; }
};

// The sound of one holder (0 .. kHolderCount - 1, in the order of FactoryKit.h); the same
// every time.
Sound SynthesiseDrum(int holder);

}  // namespace factorykit
