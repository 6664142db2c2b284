#include "Renderer.h"

#include <algorithm>

#include "Failure.h"
#include "Progress.h"

namespace render {

double Render(PluginHost& host, const Transport& transport, const RenderPlan& plan,
              const std::vector<TimedMidiMessage>& midi, AudioOutput& output, const std::atomic<bool>& interrupted) {
  const auto outputCount = static_cast<size_t>(host.outputCount());
  std::vector<std::vector<float>> buffers(outputCount, std::vector<float>(static_cast<size_t>(plan.blockSize)));
  std::vector<float*> pointers(outputCount);
  for (size_t i = 0; i < outputCount; ++i) pointers[i] = buffers[i].data();
  std::vector<BlockMidiMessage> blockMidi;
  auto nextMidi = midi.begin();

  Progress progress(plan.frames);
  for (int64_t start = 0; start < plan.frames; start += plan.blockSize) {
    if (interrupted.load()) throw Failure(ExitCode::Interrupted, "Interrupted; no output file was written");
    const auto frames = static_cast<int32_t>(std::min<int64_t>(plan.blockSize, plan.frames - start));
    blockMidi.clear();
    for (; nextMidi != midi.end() && nextMidi->frame < start + frames; ++nextMidi) {
      blockMidi.push_back({static_cast<int32_t>(nextMidi->frame - start), nextMidi->data});
    }
    transport.describeBlock(start, host.timeInfo());
    host.sendMidi(blockMidi);
    host.process(pointers.data(), frames);
    output.write(buffers, frames);
    progress.update(start + frames);
  }
  return progress.finish();
}

}  // namespace render
