// kestrelhollow-render end to end: the real binary hosts the real plug-in module, and what it
// writes is compared with what the notes and step times predict.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "RenderTool.h"
#include "persistence/ProgramFile.h"
#include "samples/SoundFiles.h"
#include "support/TempFolder.h"

namespace rendertest {
namespace {

using sampletest::ReadSoundFile;
using sampletest::TestValue;
using testhost::TempFolder;

constexpr float kMasterLevel = 0.75f;
constexpr int kSampleFrames = 64;
// 120 beats per minute at 48 kHz: a beat is 24 000 frames, a bar 96 000, a 16th 6 000.
constexpr int64_t kBar = 96000;
constexpr int64_t kSixteenth = 6000;
constexpr int kKick = 36;
constexpr int kSnare = 38;

// One stereo signal, predicted or read from a file: left and right interleaved.
using Stereo = std::vector<float>;

// A mono test sample of some frames started at a frame, times its gains.
struct Hit {
  int64_t start;
  float leftGain = 1.0f;
  float rightGain = 1.0f;
  float velocityGain = 1.0f;
  int frames = kSampleFrames;
};

Stereo Hits(int64_t frames, const std::vector<Hit>& hits) {
  Stereo signal(static_cast<size_t>(2 * frames));
  for (const Hit& hit : hits) {
    for (int i = 0; i < hit.frames && hit.start + i < frames; ++i) {
      const float value = TestValue(i, 0) * hit.velocityGain * kMasterLevel;
      signal[static_cast<size_t>(2 * (hit.start + i))] += value * hit.leftGain;
      signal[static_cast<size_t>(2 * (hit.start + i) + 1)] += value * hit.rightGain;
    }
  }
  return signal;
}

Stereo Silence(int64_t frames) { return Hits(frames, {}); }

// A note-off or a choke fades the voice by 0.01 a frame, from its own frame on.
void Release(Stereo& signal, int64_t from) {
  float gain = 1.0f;
  for (int64_t f = from; f < from + 100; ++f) {
    gain -= 0.01f;
    signal[static_cast<size_t>(2 * f)] *= gain;
    signal[static_cast<size_t>(2 * f + 1)] *= gain;
  }
}

Stereo ReadStereo(const std::string& path) {
  SF_INFO info;
  Stereo samples = ReadSoundFile(path, info);
  EXPECT_EQ(info.channels, 2) << path;
  return samples;
}

// Runs the tool, which must succeed.
ToolRun Render(const std::vector<std::string>& arguments) {
  ToolRun run = RunRender(arguments);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return run;
}

void ExpectSame(const Stereo& actual, const Stereo& expected, float tolerance = 1e-6f) {
  ASSERT_EQ(actual.size(), expected.size());
  int reported = 0;
  for (size_t i = 0; i < expected.size() && reported < 5; ++i) {
    if (std::abs(actual[i] - expected[i]) > tolerance) {
      ADD_FAILURE() << "frame " << i / 2 << (i % 2 == 0 ? " left" : " right") << ": got " << actual[i] << ", expected "
                    << expected[i];
      ++reported;
    }
  }
}

// A kick in the middle and a snare hard left with swing; the kick on every quarter note, the
// snare on the swung second 16th and on the 15th.
class RenderToolTest : public ::testing::Test {
 protected:
  void SetUp() override {
    kick = sampletest::WriteTestWav(folder, "kick.wav", kSampleFrames, 1);
    snare = sampletest::WriteTestWav(folder, "snare.wav", kSampleFrames, 1);
    holders = {{kKick, kick}, {kSnare, snare, 0.0f, true}};
    grooveRows = {{0, kKick, {0, 4, 8, 12}}, {0, kSnare, {1, 14}}};
    folder.write("groove.txt", ProjectText(holders, grooveRows));
  }

  static Stereo predictGroove(int bars) {
    std::vector<Hit> hits;
    for (int64_t bar = 0; bar < bars; ++bar) {
      for (int step : {0, 4, 8, 12}) hits.push_back({bar * kBar + step * kSixteenth});
      // Swing 0.5 moves the odd step by half a step; pan 0 leaves the right side silent.
      hits.push_back({bar * kBar + kSixteenth + kSixteenth / 2, 1.0f, 0.0f});
      hits.push_back({bar * kBar + 14 * kSixteenth, 1.0f, 0.0f});
    }
    return Hits(bars * kBar, hits);
  }

  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  TempFolder folder;
  std::string kick;
  std::string snare;
  std::vector<Holder> holders;
  std::vector<PatternRow> grooveRows;
};

TEST_F(RenderToolTest, HsyncRenderOfTwoBarsPlaysEveryStepAtItsFrame_FlacToTwentyFourBits) {
  // A block size that does not divide the bar: steps fall at every offset, the last block is short.
  const ToolRun run =
      Render({"--state", folder.file("groove.txt"), "--bars", "2", "--block", "700", "-o", folder.file("groove.wav")});
  EXPECT_NE(run.out.find("realtime factor"), std::string::npos) << run.out;
  ExpectSame(ReadStereo(folder.file("groove.wav")), predictGroove(2));
  // A float format's fmt chunk closes with its extension size (0), as common readers expect.
  const std::string header = testhost::ReadBytes(folder.file("groove.wav")).substr(12, 28);
  EXPECT_EQ(header.substr(0, 10), std::string("fmt \x12\0\0\0\x03\0", 10));
  EXPECT_EQ(header.substr(24, 2), std::string("\0\0", 2));

  Render({"--state", folder.file("groove.txt"), "-o", folder.file("groove.flac")});
  ExpectSame(ReadStereo(folder.file("groove.flac")), predictGroove(2), 1.0f / (1 << 22));
}

TEST_F(RenderToolTest, FlacClipsWithAWarning) {
  // Five holders play the kick sample on the first step: the sum peaks at 1.2, beyond full scale.
  std::vector<Holder> loud;
  std::vector<PatternRow> rows;
  for (int note = 36; note <= 40; ++note) {
    loud.push_back({note, kick});
    rows.push_back({0, note, {0}});
  }
  folder.write("loud.txt", ProjectText(loud, rows));
  const ToolRun run = Render({"--state", folder.file("loud.txt"), "--bars", "1", "-o", folder.file("loud.flac")});
  EXPECT_NE(run.err.find("Warning: " + folder.file("loud.flac") + " peaks at +"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("samples were clipped to full scale"), std::string::npos) << run.err;
  const Stereo samples = ReadStereo(folder.file("loud.flac"));
  EXPECT_LE(*std::max_element(samples.begin(), samples.end()), 1.0f);

  // A float file keeps the peaks and needs no warning.
  EXPECT_EQ(Render({"--state", folder.file("loud.txt"), "--bars", "1", "-o", folder.file("loud.wav")}).err, "");
}

TEST_F(RenderToolTest, AllOutputsGoToOneChannelEach_OrToAStereoFileEach) {
  const auto expected = [](int pair) {
    if (pair == 0) return Hits(kBar, {{0}, {4 * kSixteenth}, {8 * kSixteenth}, {12 * kSixteenth}});
    if (pair == 2) return Hits(kBar, {{9000, 1.0f, 0.0f}, {14 * kSixteenth, 1.0f, 0.0f}});
    return Silence(kBar);
  };
  Render({"--state", folder.file("groove.txt"), "--bars", "1", "--outputs", "all", "-o", folder.file("all.wav")});
  SF_INFO info;
  const std::vector<float> samples = ReadSoundFile(folder.file("all.wav"), info);
  ASSERT_EQ(info.channels, 24);
  for (int pair = 0; pair < 12; ++pair) {
    Stereo outputs;
    for (size_t i = 2 * static_cast<size_t>(pair); i < samples.size(); i += 24) {
      outputs.insert(outputs.end(), {samples[i], samples[i + 1]});
    }
    ExpectSame(outputs, expected(pair));
  }

  const ToolRun run = Render(
      {"--state", folder.file("groove.txt"), "--bars", "1", "--outputs", "holders", "-o", folder.file("part.wav")});
  EXPECT_NE(run.out.find("part-12.wav"), std::string::npos) << run.out;
  for (int pair = 0; pair < 12; ++pair) {
    ExpectSame(ReadStereo(folder.file((pair < 9 ? "part-0" : "part-") + std::to_string(pair + 1) + ".wav")),
               expected(pair));
  }
  EXPECT_FALSE(std::filesystem::exists(folder.file("part.wav")));
}

TEST_F(RenderToolTest, ModePatternAndParametersFromTheCommandLineOverrideTheState) {
  // The state is stopped on pattern 0 (kick on step 0); pattern 1 has the kick on step 2.
  folder.write("stopped.txt", ProjectText(holders, {{0, kKick, {0}}, {1, kKick, {2}}}, "Stop"));
  const std::vector<std::pair<std::vector<std::string>, Stereo>> cases{
      {{"--bars", "1"}, Silence(kBar)},
      {{"--mode", "run", "--bars", "1"}, Hits(kBar, {{0}})},
      // Parameters by name, in either form of the option and in any letter case.
      {{"--mode", "run", "--param", "C Volume=0.5", "--param=c pan=0", "--bars", "1"}, Hits(kBar, {{0, 0.5f, 0.0f}})},
      {{"--mode", "Hsync", "--pattern", "49", "--bars", "2"},
       Hits(2 * kBar, {{2 * kSixteenth}, {kBar + 2 * kSixteenth}})},
  };
  for (size_t index = 0; index < cases.size(); ++index) {
    SCOPED_TRACE(index);
    const std::string out = folder.file(std::to_string(index) + ".wav");
    std::vector<std::string> arguments{"--state", folder.file("stopped.txt"), "-o", out};
    arguments.insert(arguments.end(), cases[index].first.begin(), cases[index].first.end());
    Render(arguments);
    ExpectSame(ReadStereo(out), cases[index].second);
  }
}

TEST_F(RenderToolTest, SoundFromTheCommandLineOverridesTheState) {
  // The 48 kHz kick at 96 kHz: Classic plays its frames one by one, an octave up; Tuned plays
  // it in tune, converted to twice as many frames.
  for (const auto& [sound, lastFrame] :
       {std::pair{"classic", kSampleFrames - 1}, std::pair{"Tuned", 2 * kSampleFrames - 1}}) {
    SCOPED_TRACE(sound);
    const std::string out = folder.file(std::string(sound) + ".wav");
    Render({"--state", folder.file("groove.txt"), "--sound", sound, "--rate", "96000", "--mode", "run", "--seconds",
            "0.01", "-o", out});
    const Stereo played = ReadStereo(out);
    int last = 0;
    for (size_t i = 0; i < played.size(); i += 2) {
      if (played[i] != 0.0f) last = static_cast<int>(i / 2);
    }
    EXPECT_EQ(last, lastFrame);
  }
}

TEST_F(RenderToolTest, MidiFilePlaysTheHoldersAtItsFrames) {
  // Pulse 480 is frame 12 000 (block 23, offset 224 at block size 512). Note 60 would select
  // a pattern in the sync modes and is dropped in Midi mode.
  folder.write("notes.mid", MidiFileBytes(0, {MidiTrack({{0, {0x90, 60, 100}},
                                                         {480, {0x90, kKick, 127}},
                                                         {481, {0x80, kKick, 0}},
                                                         {1000, {0x99, kSnare, 64}}})}));
  Render({"--state", folder.file("groove.txt"), "--midi", folder.file("notes.mid"), "-o", folder.file("midi.wav")});

  // The file lasts until pulse 1000 (0.52 s); one second of tail follows.
  Stereo expected = Hits(1000 * kFramesPerPulse + 48000,
                         {{480 * kFramesPerPulse}, {1000 * kFramesPerPulse, 1.0f, 0.0f, 64.0f / 127.0f}});
  Release(expected, 481 * kFramesPerPulse);
  ExpectSame(ReadStereo(folder.file("midi.wav")), expected);
}

// Patterns exported at the render tempo and played back in Midi mode sound, holder by holder,
// as the sequencer plays them in Run mode; empty patterns keep their bars. At 100 beats per
// minute a tick is 30 frames: every step, swung or not, lands on a whole frame.
TEST_F(RenderToolTest, ExportedPatternsPlayBackAsTheSequencerPlaysThem) {
  std::vector<PatternRow> rows = grooveRows;
  rows.push_back({2, kSnare, {33, 127}, 128});
  folder.write("patterns.txt", ProjectText(holders, rows));
  const std::string state = folder.file("patterns.txt");
  constexpr int64_t kSlowBar = 115200;
  const auto bar = [](const Stereo& signal, int64_t index) {
    return Stereo(signal.begin() + 2 * index * kSlowBar, signal.begin() + 2 * (index + 1) * kSlowBar);
  };

  ToolRun run = Render({"--state", state, "--tempo", "100", "--export-midi", folder.file("all.mid")});
  EXPECT_NE(run.out.find("Saved all patterns as MIDI to " + folder.file("all.mid")), std::string::npos) << run.out;
  run = Render({"--state", state, "--pattern", "50", "--export-midi", folder.file("one.mid"), "--tempo", "100"});
  EXPECT_NE(run.out.find("Saved pattern Oct2 D as MIDI to"), std::string::npos) << run.out;
  for (const auto& [midi, bars] : {std::pair{"all", "3"}, std::pair{"one", "1"}}) {
    Render({"--state", state, "--midi", folder.file(std::string(midi) + ".mid"), "--bars", bars, "--outputs", "holders",
            "-o", folder.file(std::string(midi) + ".wav")});
  }
  for (const int pattern : {0, 2}) {
    Render({"--state", state, "--mode", "run", "--pattern", std::to_string(48 + pattern), "--tempo", "100", "--bars",
            "1", "--outputs", "holders", "-o", folder.file("run" + std::to_string(pattern) + ".wav")});
    for (const char* output : {"-01.wav", "-03.wav"}) {
      SCOPED_TRACE(std::to_string(pattern) + output);
      const Stereo expected = ReadStereo(folder.file("run" + std::to_string(pattern) + output));
      ExpectSame(bar(ReadStereo(folder.file(std::string("all") + output)), pattern), expected);
      if (pattern == 2) ExpectSame(ReadStereo(folder.file(std::string("one") + output)), expected);
    }
  }
  ExpectSame(bar(ReadStereo(folder.file("all-03.wav")), 1), Silence(kSlowBar));
}

// A long sample on step 0 is cut off by the kick of its choke group on step 2, which plays at
// the velocity its record gives. The project text is saved to a program file, which loads back to
// the same chunk and, as a bank, still plays those records.
TEST_F(RenderToolTest, ChokeAndVelocityRecordsPlayFromAProgramOrBankFileSavedWithThem) {
  const std::string ring = sampletest::WriteTestWav(folder, "ring.wav", 20000, 1);
  std::string text = ProjectText({{kKick, kick}, {kSnare, ring}}, {{0, kSnare, {0}}, {0, kKick, {2}}});
  std::string velocities = "vel1;0;36;";
  for (int step = 0; step < 128; ++step) velocities += step == 2 ? "64;" : "127;";
  text.insert(text.find("seq2;"), velocities + "\nchk1;36;1;\nchk1;38;1;\n");
  folder.write("dynamics.txt", text);
  Render({"--state", folder.file("dynamics.txt"), "--save-fxp", folder.file("first.fxp")});
  Render({"--state", folder.file("first.fxp"), "--save-fxp", folder.file("second.fxp")});

  std::string error;
  const auto first = persistence::ParseProgramFile(testhost::ReadBytes(folder.file("first.fxp")), &error);
  ASSERT_TRUE(first) << error;
  const auto second = persistence::ParseProgramFile(testhost::ReadBytes(folder.file("second.fxp")), &error);
  ASSERT_TRUE(second) << error;
  EXPECT_FALSE(first->isBank);
  EXPECT_EQ(first->chunk, second->chunk);
  persistence::ProgramFile bank = *first;
  bank.isBank = true;
  folder.write("dynamics.fxb", persistence::WriteProgramFile(bank));
  Render({"--state", folder.file("dynamics.fxb"), "--bars", "1", "--outputs", "holders", "-o", folder.file("cut.wav")});

  constexpr int64_t kCut = 2 * kSixteenth;
  ExpectSame(ReadStereo(folder.file("cut-01.wav")), Hits(kBar, {{kCut, 1.0f, 1.0f, 64.0f / 127.0f}}));
  // The long sample, released from the kick's frame on.
  Stereo cut = Hits(kBar, {{.start = 0, .frames = kCut + 100}});
  Release(cut, kCut);
  ExpectSame(ReadStereo(folder.file("cut-03.wav")), cut);
}

TEST_F(RenderToolTest, BadInputIsNamedAndWritesNothing) {
  const std::string whole = ProjectText(holders, grooveRows);
  folder.write("foreign.fxp",
               persistence::WriteProgramFile({.fxId = 0x61626364, .programName = "", .chunk = whole}));  // 'abcd'
  folder.write("garbage.txt", "no project here\n");
  std::string newer = whole;
  newer.replace(newer.find("Version 2.0"), 11, "Version 9.0");
  folder.write("newer.txt", newer);
  folder.write("broken.fxp", "CcnK\x00\x00");
  // A MIDI file whose single delta time lasts 0x0FFFFFFF beats.
  folder.write("endless.mid", MidiFileBytes(0, {MidiTrack({{0x0FFFFFFF, {0x99, kKick, 100}}})}, 1));
  folder.write("fake.so", "not a shared object");
  // States that are not whole: an empty chunk, a chunk cut in half, a NUL byte in a name.
  constexpr int32_t kOurId = 0x6B736877;  // 'kshw'
  folder.write("empty.fxp", persistence::WriteProgramFile({.fxId = kOurId, .programName = "", .chunk = ""}));
  folder.write("half.fxp", persistence::WriteProgramFile(
                               {.fxId = kOurId, .programName = "", .chunk = whole.substr(0, whole.size() / 2)}));
  std::string nulInName = whole;
  nulInName.insert(nulInName.find("smp2;36;") + 9, std::string(1, '\0'));
  // Not "nul.txt": Windows takes NUL with any extension for its null device.
  folder.write("nul-byte.txt", nulInName);
  // Larger than any state or MIDI file the tool reads; sparse, so nothing is written.
  folder.write("huge.txt", "");
  std::filesystem::resize_file(folder.file("huge.txt"), (uint64_t{32} << 20) + 1);
  const std::string out = folder.file("out.wav");
  const std::vector<std::string> inputs = folderContents();

  struct Case {
    std::vector<std::string> arguments;
    int exitCode;
    std::string message;
  };
  std::vector<Case> cases{
      {{"--bogus", "-o", out}, 2, "Unknown argument '--bogus'"},
      {{"--bars", "2", "--seconds", "3", "-o", out}, 2, "either --bars or --seconds"},
      {{"--block", "5", "-o", out}, 2, "--block needs a number from 16 to 8192, not '5'"},
      {{"--tempo", "fast", "-o", out}, 2, "--tempo needs a number"},
      {{"--mode", "loop", "-o", out}, 2, "--mode must be Hsync, Run, Midi or Stop"},
      {{"--sound", "loud", "-o", out}, 2, "--sound must be tuned or classic"},
      {{"--pattern", "47", "-o", out}, 2, "--pattern needs a number from 48 to 71"},
      {{"--param", "C Volume", "-o", out}, 2, "--param needs NAME=VALUE, not 'C Volume'"},
      {{"--param", "C Volume=1.5", "-o", out}, 2, "--param needs a number from 0 to 1, not '1.5'"},
      {{"--param", "Cowbell=1", "-o", out}, 2, "The plug-in has no parameter named 'Cowbell'"},
      {{"--outputs", "all", "-o", folder.file("out.flac")}, 2, "FLAC holds at most 8 channels"},
      {{"-o", folder.file("out.mp3")}, 2, "must end in .wav or .flac"},
      {{"--bars", "2"}, 2, "Nothing to do"},
      {{"-o"}, 2, "-o needs a value"},
      {{"--plugin", folder.file("missing.so"), "-o", out}, 3, "Plug-in not found: "},
      {{"--plugin", folder.file("fake.so"), "-o", out}, 3, "Cannot load the plug-in"},
      {{"--plugin", KH_NO_ENTRY_MODULE, "-o", out}, 3, "has no VSTPluginMain or main entry point"},
      {{"--plugin", KH_FOREIGN_ENTRY_MODULE, "-o", out}, 3, "returned no effect record"},
      {{"--state", folder.file("missing.fxp"), "-o", out}, 4, "Cannot read the state file"},
      {{"--state", folder.file("garbage.txt"), "-o", out}, 4, "is neither a program or bank file"},
      {{"--state", folder.file("broken.fxp"), "-o", out}, 4, "is not a valid program or bank file"},
      // The plug-in's own message, then the tool's.
      {{"--state", folder.file("newer.txt"), "-o", out},
       4,
       "newer version of Kestrelhollow or is corrupt.\nkestrelhollow-render: Error: The plug-in refused " +
           folder.file("newer.txt")},
      {{"--state", folder.file("foreign.fxp"), "-o", out}, 4, "belongs to another plug-in (ID 'abcd'"},
      {{"--midi", folder.file("missing.mid"), "-o", out}, 4, "Cannot read the MIDI file"},
      {{"--midi", folder.file("endless.mid"), "-o", out}, 4, "more than 24 hours"},
      {{"--state", folder.file("empty.fxp"), "-o", out}, 4, "not a valid program or bank file: the chunk is empty"},
      {{"--state", folder.file("half.fxp"), "-o", out}, 4, "is damaged: it has no end line"},
      {{"--state", folder.file("nul-byte.txt"), "--save-text", folder.file("saved.txt")},
       4,
       "is damaged: a NUL byte at byte " + std::to_string(nulInName.find("smp2;36;") + 9)},
      {{"--state", folder.file("huge.txt"), "-o", out}, 4, "huge.txt: it holds more than 32 MB"},
      {{"--midi", folder.file("huge.txt"), "-o", out}, 4, "Cannot read the MIDI file"},
      {{"-o", folder.file("no/such/folder/out.wav")}, 5, "Cannot write"},
      {{"--save-fxp", folder.file("no/such/folder/state.fxp")}, 5, "Cannot write"},
      {{"--export-midi", folder.file("no/such/folder/patterns.mid")}, 5, "Cannot write"},
      {{"--export-midi", folder.file("patterns.txt")}, 2, "--export-midi needs a file name ending in .mid"},
  };
#ifndef _WIN32
  // Endless inputs are refused before a byte is read.
  cases.push_back({{"--state", "/dev/zero", "-o", out}, 4, "/dev/zero: it is not a regular file"});
  cases.push_back({{"--midi", "/dev/zero", "-o", out}, 4, "/dev/zero: it is not a regular file"});
#endif
  for (const Case& test : cases) {
    const ToolRun run = RunRender(test.arguments, {.withBuiltPlugin = test.arguments.front() != "--plugin"});
    EXPECT_EQ(run.exitCode, test.exitCode) << test.message << "\n" << run.err;
    EXPECT_NE(run.err.find("kestrelhollow-render: Error: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(test.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(folderContents(), inputs);

  // An explicit length renders the start of a file too long to render whole.
  const ToolRun part = RunRender({"--midi", folder.file("endless.mid"), "--seconds", "1", "-o", out});
  EXPECT_EQ(part.exitCode, 0) << part.err;
}

// Every pattern of the default preset, rendered as a user would, peaks at least 1 dB below full
// scale.
TEST(DefaultPresetLevels, EveryPatternKeepsOneDecibelOfHeadroom) {
  TempFolder folder;
  const std::string out = folder.file("pattern.wav");
  const float limit = std::pow(10.0f, -1.0f / 20.0f);
  for (int pattern = 0; pattern < 24; ++pattern) {
    Render({"--pattern", std::to_string(48 + pattern), "--mode", "Run", "--bars", "2", "-o", out});
    float peak = 0.0f;
    for (const float sample : ReadStereo(out)) peak = std::max(peak, std::abs(sample));
    EXPECT_LE(peak, limit) << "pattern " << pattern << " peaks at " << 20.0f * std::log10(peak) << " dBFS";
  }
}

}  // namespace
}  // namespace rendertest
