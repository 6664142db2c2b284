#pragma once

namespace engine {

// The host's time information for one block, converted once from what the host reports.
struct HostTime {
  bool available = false;  // the host answered at all
  double sampleRate = 0.0;
  double ppqPos = 0.0;  // quarter notes since the song start
  double tempo = 0.0;   // beats per minute
  bool playing = false;
  bool ppqValid = false;
  bool tempoValid = false;
};

}  // namespace engine
