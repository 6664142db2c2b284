// The host's transport during a render: playing from the song start at a fixed tempo in
// four-four time; turns a frame position into the time information of one block.
#pragma once

#include <cstdint>

#include "vst/VstInterface.h"

namespace render {

class Transport {
 public:
  Transport(double sampleRate, double tempo) : sampleRate_(sampleRate), tempo_(tempo) {}

  // Fills the time information for the block that starts at this frame of the render.
  void describeBlock(int64_t blockStart, vst::VstTimeInfo& info) const;

  double framesPerBar() const { return sampleRate_ * 60.0 / tempo_ * kBeatsPerBar; }

  static constexpr int kBeatsPerBar = 4;

 private:
  double sampleRate_;
  double tempo_;
};

}  // namespace render
