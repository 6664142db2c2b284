#pragma once

#include <cstdint>

namespace engine {

// A note to carry out at a frame of the current block; velocity 0 is a note-off.
struct NoteEvent {
  uint8_t note;
  uint8_t velocity;
  uint16_t frameOffset;
};
static_assert(sizeof(NoteEvent) == 4);

}  // namespace engine
