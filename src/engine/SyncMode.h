#pragma once

#include <cstdint>

namespace engine {

// How the step sequencer is driven; the numbers are those stored with projects.
enum class SyncMode : uint8_t {
  Stop = 0,   // nothing triggered, the clock stands still
  Run = 1,    // free-running at the host tempo
  Hsync = 2,  // follows the host's song position while the host plays
  Midi = 3,   // the host's notes play the holders
};

}  // namespace engine
