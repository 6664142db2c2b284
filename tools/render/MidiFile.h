// A Standard MIDI File (format 0 or 1) read into channel messages at frame positions. The
// file is untrusted input: every length is checked against the bytes that remain, nothing is
// allocated for what a header merely claims, and anything malformed is refused with the byte
// offset where it was found.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace render {

struct TimedMidiMessage {
  int64_t frame;  // from the start of the render
  std::array<uint8_t, 3> data;
};

struct MidiFile {
  std::vector<TimedMidiMessage> messages;  // notes: ascending frame, file order among equal frames
  double lengthSeconds = 0.0;              // the time of the file's last event (end of track included)
  std::optional<double> initialTempo;      // beats per minute, when the file sets one at its start
};

// Longest file the tool renders without an explicit length: a longer one is far more likely
// damaged than meant.
constexpr double kLongestMidiSeconds = 24.0 * 60.0 * 60.0;

// Reads the file's bytes with its own tempo map; only its notes are kept (meta events, system
// exclusive and other channel messages are read past). A tempo outside what --tempo accepts is
// refused. Throws Failure(InputUnreadable) with the reason and its byte offset; name is
// the file as the message calls it.
MidiFile ParseMidiFile(std::string_view bytes, double sampleRate, const std::string& name);
// Reads the file from disk; throws Failure(InputUnreadable).
MidiFile ReadMidiFile(const std::string& path, double sampleRate);

}  // namespace render
