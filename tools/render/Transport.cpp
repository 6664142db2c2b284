#include "Transport.h"

#include <cmath>

namespace render {

void Transport::describeBlock(int64_t blockStart, vst::VstTimeInfo& info) const {
  info = vst::VstTimeInfo{};
  info.samplePos = static_cast<double>(blockStart);
  info.sampleRate = sampleRate_;
  info.tempo = tempo_;
  // Derived from the frame position every block, so no rounding error accumulates.
  info.ppqPos = info.samplePos * tempo_ / (60.0 * sampleRate_);
  info.barStartPos = std::floor(info.ppqPos / kBeatsPerBar) * kBeatsPerBar;
  info.timeSigNumerator = kBeatsPerBar;
  info.timeSigDenominator = 4;
  info.flags = vst::kVstTransportPlaying | vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid |
               vst::kVstTimeSigValid;
  if (blockStart == 0) info.flags |= vst::kVstTransportChanged;
}

}  // namespace render
