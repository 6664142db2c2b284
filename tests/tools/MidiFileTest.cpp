// The MIDI file reader: timing through the tempo map, and refusal of every damaged file with
// the offset of the damage.
#include "MidiFile.h"

#include <gtest/gtest.h>
#include <filesystem>

#include "Failure.h"
#include "RenderTool.h"

namespace render {
namespace {

using rendertest::MidiFileBytes;
using rendertest::MidiTrack;

constexpr double kRate = 48000.0;

// A tempo track (60 beats per minute, 120 from beat 2 on) and a note track with running
// status, program changes, a system exclusive message and a text event among the notes.
std::string TwoTrackFile() {
  const std::string tempo = MidiTrack({{0, {0xFF, 0x51, 3, 0x0F, 0x42, 0x40}}, {1920, {0xFF, 0x51, 3, 0x07, 0xA1, 0x20}}});
  const std::string notes = MidiTrack({{960, {0x99, 36, 100}},
                                       {960, {0x99, 38, 90}},
                                       {1000, {0xF0, 2, 0x7E, 0xF7}},
                                       {1000, {0xC9, 5}},
                                       {1000, {0xC9, 6}},
                                       {2880, {0xFF, 0x01, 2, 'h', 'i'}},
                                       {2880, {0x89, 36, 0}}});
  return MidiFileBytes(1, {tempo, notes});
}

std::string Failing(const std::string& bytes) {
  try {
    ParseMidiFile(bytes, kRate, "f.mid");
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.code(), ExitCode::InputUnreadable);
    return failure.what();
  }
  ADD_FAILURE() << "accepted";
  return "";
}

TEST(MidiFileTest, TracksMergeAndTimesFollowTheTempoMap) {
  const MidiFile file = ParseMidiFile(TwoTrackFile(), kRate, "f.mid");
  ASSERT_TRUE(file.initialTempo);
  EXPECT_DOUBLE_EQ(*file.initialTempo, 60.0);
  // Beat 1 at 60 beats per minute is 1 s; beat 3 is 2 s plus a half-second beat. Only the
  // notes are kept.
  const std::vector<TimedMidiMessage> expected{{48000, {0x99, 36, 100}},
                                               {48000, {0x99, 38, 90}},
                                               {120000, {0x89, 36, 0}}};
  ASSERT_EQ(file.messages.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(file.messages[i].frame, expected[i].frame) << i;
    EXPECT_EQ(file.messages[i].data, expected[i].data) << i;
  }
  EXPECT_DOUBLE_EQ(file.lengthSeconds, 2.5);
}

TEST(MidiFileTest, SmpteTimeAndForeignChunks) {
  // 25 frames of 40 ticks: 1000 ticks a second. A chunk of another type is passed over.
  std::string bytes = MidiFileBytes(0, {"XYZW" + std::string("\0\0\0\2ab", 6) + MidiTrack({{500, {0x90, 40, 1}}})},
                                    0xE728);
  const MidiFile file = ParseMidiFile(bytes, kRate, "f.mid");
  ASSERT_EQ(file.messages.size(), 1u);
  EXPECT_EQ(file.messages[0].frame, 24000);
  EXPECT_FALSE(file.initialTempo);
}

TEST(MidiFileTest, EveryCutOfAFileIsRefusedWithItsOffset) {
  const std::string whole = TwoTrackFile();
  for (size_t size = 0; size < whole.size(); ++size) {
    const std::string message = Failing(whole.substr(0, size));
    EXPECT_NE(message.find(" at byte "), std::string::npos) << size << ": " << message;
  }
}

TEST(MidiFileTest, DamageIsNamedWithItsOffset) {
  // 14 bytes: format at 8, the count of tracks (1) at 10, the time division at 12.
  std::string header = MidiFileBytes(0, {});
  header[11] = 1;
  const auto withTrack = [&](const std::string& events) {
    const char length[] = {0, 0, 0, static_cast<char>(events.size())};
    return header + "MTrk" + std::string(length, 4) + events;
  };
  const std::vector<std::pair<std::string, std::string>> cases{
      {"RIFF\0\0\0\0WAVE", "not a Standard MIDI File (no MThd header) at byte 0"},
      {std::string(header).replace(9, 1, "\2"), "format 2 files are not played, only 0 and 1 at byte 8"},
      {std::string(header).replace(11, 1, "\3"), "a format 0 file must have exactly one track at byte 10"},
      {std::string(header).replace(12, 2, std::string(2, '\0')), "the time division is zero at byte 12"},
      {header + "MTrk\xFF\xFF\xFF\xFF", "claims 4294967295 bytes, but only 0 follow at byte 14"},
      {withTrack(std::string("\0\x40\x40", 3)), "a data byte without a status byte before it at byte 23"},
      {withTrack(std::string("\0\x90\x40\x90", 4)), "a channel message is cut short by a status byte at byte 25"},
      {withTrack("\x81\x81\x81\x81\x01\x90\x40\x40"), "an event's delta time is longer than four bytes at byte 22"},
      {withTrack(std::string("\0\xFF\x51\x02\x01\x02", 6)), "a tempo event has 2 bytes, not 3 at byte 25"},
      // Tempi are refused outside the 20 to 999 beats per minute that --tempo accepts.
      {withTrack(std::string("\0\xFF\x51\x03\0\0\0", 7)), "sets 0 microseconds per beat, outside the 20 to 999 beats"},
      {withTrack(std::string("\0\xFF\x51\x03\0\0\1", 7)), "sets 1 microseconds per beat, outside the 20 to 999 beats"},
      {withTrack(std::string("\0\xFF\x51\x03\0\xEA\x60", 7)), "sets 60000 microseconds per beat, outside the 20"},
      {withTrack(std::string("\0\xFF\x51\x03\xFF\xFF\xFF", 7)),
       "sets 16777215 microseconds per beat, outside the 20 to 999 beats"},
      {withTrack(std::string("\0\xF4", 2)), "the status byte 244 has no place in a MIDI file at byte 23"},
      {withTrack(std::string("\0\x90\x40", 3)) + "\x40", "an event runs past the end of its track at byte 23"},
      {withTrack(std::string("\0\xF0\x05\x01", 4)), "a system exclusive message needs 5 bytes, but the file ends after 1 at byte 25"},
      {std::string(header).replace(8, 4, std::string("\0\1\xFF\xFF", 4)), "a track chunk needs 4 bytes, but the file ends after 0"},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_NE(Failing(bytes).find(expected), std::string::npos) << expected;
}

// The fuzzer's seeds were written by the helpers above; each must stay a file that plays.
TEST(MidiFileTest, SeedFilesOfTheFuzzerAreRead) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(KH_MIDI_CORPUS)) {
    const MidiFile file = ReadMidiFile(entry.path().string(), kRate);
    EXPECT_FALSE(file.messages.empty()) << entry.path();
    ++count;
  }
  EXPECT_GE(count, 4);
}

}  // namespace
}  // namespace render
