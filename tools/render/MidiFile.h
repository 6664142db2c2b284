// A Standard MIDI File read into channel messages at frame positions.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace render {

struct TimedMidiMessage {
  int64_t frame;  // from the start of the render
  std::array<uint8_t, 3> data;
};

struct MidiFile {
  std::vector<TimedMidiMessage> messages;  // ascending frame, file order among equal frames
  double lengthSeconds = 0.0;
  std::optional<double> initialTempo;  // beats per minute, when the file sets one at its start
};

// Reads the file with its own tempo map; meta events and system exclusive messages are left
// out. Throws Failure(InputUnreadable) with the reason.
MidiFile ReadMidiFile(const std::string& path, double sampleRate);

}  // namespace render
