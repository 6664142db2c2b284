// The render loop: drives the hosted plug-in block by block with the transport's time
// information and the MIDI messages that fall into each block, and hands every block on.
#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

#include "AudioOutput.h"
#include "MidiFile.h"
#include "PluginHost.h"
#include "Transport.h"

namespace render {

struct RenderPlan {
  int64_t frames = 0;
  int32_t blockSize = 512;
};

// Renders the plan into the output (finish() is left to the caller). Returns the wall-clock
// seconds it took. Throws Failure(Interrupted) as soon as the flag is set.
double Render(PluginHost& host, const Transport& transport, const RenderPlan& plan,
              const std::vector<TimedMidiMessage>& midi, AudioOutput& output, const std::atomic<bool>& interrupted);

}  // namespace render
