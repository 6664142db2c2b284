// The MIDI file reader: timing through the tempo map, and refusal of every damaged file with
// the offset of the damage.
#include "MidiFile.h"

#include <gtest/gtest.h>
#include <filesystem>
#include <memory>
#include <tuple>

#include "Failure.h"
#include "RenderTool.h"
#include "engine/DrumEngine.h"
#include "persistence/MidiExport.h"

namespace render {
namespace {

using rendertest::MidiFileBytes;
using rendertest::MidiTrack;

constexpr double kRate = 48000.0;

// A tempo track (60 beats per minute, 120 from beat 2 on) and a note track with running
// status, program changes, a system exclusive message and a text event among the notes.
std::string TwoTrackFile() {
  const std::string tempo =
      MidiTrack({{0, {0xFF, 0x51, 3, 0x0F, 0x42, 0x40}}, {1920, {0xFF, 0x51, 3, 0x07, 0xA1, 0x20}}});
  const std::string notes = MidiTrack({{960, {0x99, 36, 100}},
                                       {960, {0x99, 38, 90}},
                                       {1000, {0xF0, 2, 0x7E, 0xF7}},
                                       {1000, {0xC9, 5}},
                                       {1000, {0xC9, 6}},
                                       {2880, {0xFF, 0x01, 2, 'h', 'i'}},
                                       {2880, {0x89, 36, 0}}});
  return MidiFileBytes(1, {tempo, notes});
}

// The messages as frames and bytes, to compare whole.
using Messages = std::vector<std::pair<int64_t, std::array<uint8_t, 3>>>;
Messages FramesAndBytes(const MidiFile& file) {
  Messages messages;
  for (const TimedMidiMessage& message : file.messages) messages.emplace_back(message.frame, message.data);
  return messages;
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

TEST(MidiFileTest, TracksMergeAndTimesFollowTheTempoMapOrSmpteFrames) {
  const MidiFile file = ParseMidiFile(TwoTrackFile(), kRate, "f.mid");
  ASSERT_TRUE(file.initialTempo);
  EXPECT_DOUBLE_EQ(*file.initialTempo, 60.0);
  // Beat 1 at 60 beats per minute is 1 s; beat 3 is 2 s plus a half-second beat. Only the
  // notes are kept.
  EXPECT_EQ(FramesAndBytes(file),
            (Messages{{48000, {0x99, 36, 100}}, {48000, {0x99, 38, 90}}, {120000, {0x89, 36, 0}}}));
  EXPECT_DOUBLE_EQ(file.lengthSeconds, 2.5);

  // 25 frames of 40 ticks: 1000 ticks a second. A chunk of another type is passed over.
  const MidiFile smpte = ParseMidiFile(
      MidiFileBytes(0, {"XYZW" + std::string("\0\0\0\2ab", 6) + MidiTrack({{500, {0x90, 40, 1}}})}, 0xE728), kRate,
      "f.mid");
  EXPECT_EQ(FramesAndBytes(smpte), (Messages{{24000, {0x90, 40, 1}}}));
  EXPECT_FALSE(smpte.initialTempo);
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
      {withTrack(std::string("\0\xFF\x51\x03\0\xEA\x60", 7)), "sets 60000 microseconds per beat, outside the 20"},
      {withTrack(std::string("\0\xFF\x51\x03\xFF\xFF\xFF", 7)),
       "sets 16777215 microseconds per beat, outside the 20 to 999 beats"},
      {withTrack(std::string("\0\xF4", 2)), "the status byte 244 has no place in a MIDI file at byte 23"},
      {withTrack(std::string("\0\x90\x40", 3)) + "\x40", "an event runs past the end of its track at byte 23"},
      {withTrack(std::string("\0\xF0\x05\x01", 4)),
       "a system exclusive message needs 5 bytes, but the file ends after 1 at byte 25"},
      {std::string(header).replace(8, 4, std::string("\0\1\xFF\xFF", 4)),
       "a track chunk needs 4 bytes, but the file ends after 0"},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_NE(Failing(bytes).find(expected), std::string::npos) << expected;
}

// The exported patterns read back: every step at its tick (25 frames each at 120 beats per
// minute), swung where its holder swings, at its velocity, ending at its holder's next step.
TEST(MidiFileTest, ExportedPatternsReadBackNoteForNote) {
  const auto engine = std::make_unique<engine::DrumEngine>();
  engine::PatternStore& patterns = engine->patterns();
  patterns.setSwingAmount(0.5f);
  engine->kit().holder(38).setSwing(true);
  engine->kit().holder(47).setSwing(true);
  // Pattern, resolution, holder, step, velocity (0: as set).
  const std::tuple<int, int, int, int, int> steps[] = {
      {0, 16, 0, 0, 0},      {0, 16, 2, 1, 100},    {0, 16, 2, 15, 0},  {5, 32, 2, 3, 40},
      {23, 128, 11, 126, 0}, {23, 128, 11, 127, 0}, {23, 128, 0, 0, 1},
  };
  for (const auto& [pattern, resolution, holder, step, velocity] : steps) {
    patterns.setResolution(pattern, resolution);
    patterns.setCell(engine::kSoundingStepCell, pattern, step, holder);
    if (velocity > 0) patterns.setStepVelocity(velocity, pattern, step, holder);
  }
  const std::string bytes = persistence::PatternsAsMidiFile(patterns, engine->kit(), std::nullopt, 120.0);
  EXPECT_EQ(bytes.substr(0, 14), std::string("MThd\0\0\0\6\0\1\0\1\3\xC0", 14)) << "format 1, one track, 960";
  // A marker names each pattern, in order.
  size_t marker = 0;
  for (int pattern = 0; pattern < engine::kPatternCount; ++pattern) {
    const std::string name = engine::PatternName(pattern);
    marker = bytes.find("\xFF\x06" + std::string(1, static_cast<char>(name.size())) + name, marker);
    ASSERT_NE(marker, std::string::npos) << pattern;
  }

  const MidiFile file = ParseMidiFile(bytes, kRate, "patterns.mid");
  constexpr int kBar = 3840;
  // At 120 beats per minute a tick is 25 frames.
  const auto at = [](int tick, std::array<uint8_t, 3> data) { return std::pair{int64_t{tick} * 25, data}; };
  const Messages expected{
      at(0, {0x99, 36, 127}),
      at(240, {0x89, 36, 64}),
      at(360, {0x99, 38, 100}),
      at(480, {0x89, 38, 64}),
      at(3720, {0x99, 38, 127}),
      at(kBar, {0x89, 38, 64}),
      at(5 * kBar + 420, {0x99, 38, 40}),
      at(5 * kBar + 480, {0x89, 38, 64}),
      at(23 * kBar, {0x99, 36, 1}),
      at(23 * kBar + 30, {0x89, 36, 64}),
      at(23 * kBar + 3780, {0x99, 47, 127}),
      at(23 * kBar + 3825, {0x89, 47, 64}),
      at(23 * kBar + 3825, {0x99, 47, 127}),
      at(24 * kBar, {0x89, 47, 64}),
  };
  EXPECT_EQ(FramesAndBytes(file), expected);
  EXPECT_DOUBLE_EQ(file.lengthSeconds, 48.0) << "every pattern keeps its bar";

  // One pattern alone, in the first bar; tempi the reader refuses are never written.
  const MidiFile one =
      ParseMidiFile(persistence::PatternsAsMidiFile(patterns, engine->kit(), 5, 120.0), kRate, "5.mid");
  ASSERT_EQ(one.messages.size(), 2u);
  EXPECT_EQ(one.messages[0].frame, 420 * 25);
  EXPECT_DOUBLE_EQ(one.lengthSeconds, 2.0);
  for (const auto& [tempo, written] : {std::pair{0.0, 120.0}, {93.0, 93.0}, {5.0, 20.0}, {5000.0, 999.0}}) {
    const MidiFile empty =
        ParseMidiFile(persistence::PatternsAsMidiFile(patterns, engine->kit(), 1, tempo), kRate, "e.mid");
    EXPECT_NEAR(empty.initialTempo.value_or(0.0), written, 0.02) << tempo;
  }
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
