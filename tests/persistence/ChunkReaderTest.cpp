// Loading project texts into an effect: round trips, old versions, refused texts, records that
// do not fit the model, and texts built to hurt (huge, slow to expand, repetitive, or with
// numbers far outside their controls), each loaded with the model intact and memory bounded.
#include <gtest/gtest.h>

#include <future>
#include <tuple>
#include <utility>

#include "EffectInFolder.h"
#include "platform/BoundedLock.h"
#include "platform/Paths.h"
#include "support/AllocationCounter.h"
#include "support/ChildProcess.h"

namespace persistencetest {
namespace {

constexpr const char* kRefused =
    "The data for Kestrelhollow in the project file is of an newer version of Kestrelhollow or is corrupt.";

// An old text: the empty line, the version line, then the records.
std::string OldText(const std::string& version, const std::vector<std::string>& records) {
  std::string text = "\nKestrelhollow Data Version " + version + "\n";
  for (const std::string& record : records) text += record + "\n";
  return text;
}

std::string Repeated(std::string_view piece, size_t count) {
  std::string text;
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

class ChunkReader : public EffectInFolder {
 protected:
  void SetUp() override { effect = createEffect(); }
  engine::DrumEngine& engine() { return effect->instrument().engine(); }
  engine::SampleHolder& holder(uint8_t note) { return engine().kit().holder(note); }
  // Loads a recognisable state, which a refused text must leave alone.
  void loadMarkerState() {
    SetChunk(*effect, VersionTwoText({"smp2;38;Marker;;0.5;muted;3;0.4;0.3;swing;", PatternRecord(7, 40, 64, "11"),
                                      "vst1;Run;", "snd1;Tuned;"}));
    marker = GetChunk(*effect);
    ASSERT_NE(marker.find("smp2;38;Marker;"), std::string::npos);
    messages.clear();
    loads.clear();
  }
  void expectRefusedAndMarkerStateKept(const std::string& text = kRefused) {
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "Error");
    EXPECT_EQ(messages.messages()[0].text, text);
    EXPECT_EQ(GetChunk(*effect), marker);
  }

  std::unique_ptr<plugin::Vst> effect;
  std::string marker;
};

// Every setting in its written form, and read back by a fresh effect to the same model.
TEST_F(ChunkReader, WrittenTextReadsBackToTheSameModel) {
  for (uint8_t note = 36; note <= 47; ++note) {
    engine::SampleHolder& h = holder(note);
    h.setName("Holder " + std::to_string(note));
    h.setPath(note % 2 ? effect->instrument().samplesFolder() + "Factory/" + std::to_string(note) + ".wav"
                       : "/abs/x.wav");
    h.setLengthFraction(0.1f * static_cast<float>(note - 35) / 1.3f);
    h.setMuteState(note % 3);
    h.setPitch(static_cast<int8_t>(note - 48));
    h.setVolume(0.756f);
    h.setPan(0.123f);
    h.setSwing(note % 2 == 0);
  }
  engine().kitPlayer().setMasterLevel(0.6f);
  engine().kitPlayer().setDownmix(true);
  engine::PatternStore& patterns = engine().patterns();
  patterns.setResolution(3, 128);
  patterns.setResolution(9, 64);  // silent, but written for its resolution
  for (int step = 0; step < 128; step += 3) patterns.setCell(1, 3, step, step % engine::kHolderCount);
  patterns.setCell(1, 23, 15, 11);
  patterns.setCell(0x100, 5, 0, 0);  // only the low byte makes a cell sound
  patterns.setStepVelocity(33, 3, 0, 0);
  effect->instrument().setChokeGroup(3, 4);
  patterns.setSwingAmount(0.27f);
  patterns.setSequencerModeSetting(2);
  engine().clock().selectPattern(9);
  engine().setSyncMode(engine::SyncMode::Midi);
  effect->instrument().setSoundMode(engine::SoundMode::Tuned);
  const std::string saved = GetChunk(*effect);
  EXPECT_EQ(GetChunk(*effect, true), saved) << "a preset is the same text";
  for (const char* written : {"\nsmp2;38;Holder 38;/abs/x.wav;0.23;muted_by_solo;-10;0.76;0.12;swing;\n",
                              "\nsmp2;40;Holder 40;/abs/x.wav;0.38;muted;-8;0.76;0.12;swing;\n",
                              "\nsyn1;0.6;downmix;\nsnd1;Tuned;\nchk1;39;4;\n", "\nvel1;3;36;33;127;",
                              "\nseq1;9;47;64;0;", "\nseq2;0.27;2;9;\nvst1;Midi;\n\n#"}) {
    EXPECT_NE(saved.find(written), std::string::npos) << written;
  }
  EXPECT_EQ(saved.find("vel1;23;"), std::string::npos) << "written only below full velocity";
  EXPECT_EQ(saved.find("seq1;5;"), std::string::npos);
  EXPECT_LT(saved.find("seq1;9;46;"), saved.find("seq1;1;47;")) << "note by note, then pattern by pattern";

  auto restored = createEffect();
  loads.clear();
  EXPECT_EQ(SetChunk(*restored, saved), 1);
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_EQ(GetChunk(*restored), saved);
  EXPECT_EQ(loads.size(), 12u);
  EXPECT_EQ(loads[1].path, effect->instrument().samplesFolder() + "Factory/37.wav");
  // The same text from a fresh effect proves every field was read; these are what the text
  // does not show: the model holds the rounded numbers, and the last mode follows the mode.
  engine::DrumEngine& copy = restored->instrument().engine();
  EXPECT_FLOAT_EQ(copy.kit().holder(36).volume(), 0.76f);
  EXPECT_FLOAT_EQ(copy.kit().holder(36).pan(), 0.12f);
  EXPECT_EQ(copy.lastMode(), engine::SyncMode::Midi);
  EXPECT_FLOAT_EQ(copy.editorState().swingAmount, 0.27f) << "the editor's swing amount is the loaded one";
}

TEST_F(ChunkReader, OldVersionsAreConvertedWithAWarningAndDefaultsForWhatTheyLacked) {
  // 1.0 knew neither volume nor master level, 1.1 added both; neither knew pan, swing,
  // downmix, the sequencer settings, the sound mode, step velocities or choke groups, whatever
  // their records say, and a pattern had 16 steps.
  const std::vector<std::string> records{"smp2;36;Kick;/k.wav;0.5;muted;-3;0.2;0.1;swing;",
                                         "syn1;0.2;downmix;",
                                         "seq1;4;36;1;0;0;0;1;0;0;0;1;0;0;0;1;0;0;1;1;1;",
                                         "seq2;0.1;2;4;",
                                         "vst1;Stop;",
                                         "snd1;Tuned;",
                                         "vel1;4;36;20;",
                                         "chk1;36;2;"};
  for (const auto& [version, volume, masterLevel] : {std::tuple{"1.0", "1", "0.75"}, std::tuple{"1.1", "0.2", "0.2"}}) {
    SCOPED_TRACE(version);
    loadMarkerState();
    SetChunk(*effect, OldText(version, records));
    ASSERT_EQ(messages.count("Warning"), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              "The saved data for Kestrelhollow in the project file is of an older version of Kestrelhollow. It will "
              "be converted to the new version. If you save this project is saved you are not going to be able to "
              "open this project with an older version of Kestrelhollow anymore.");
    // Nothing of the previous project survives, and the next save is version 2.0.
    EXPECT_EQ(GetChunk(*effect),
              Edited(DefaultText(),
                     {{"smp2;36;;;1;not_muted;0;1;", "smp2;36;Kick;/k.wav;0.5;muted;-3;" + std::string(volume) + ";"},
                      {"syn1;0.75;", "syn1;" + std::string(masterLevel) + ";"},
                      {"seq2;", PatternRecord(4, 36, 16, "1000100010001001") + "\nseq2;"},
                      {"Hsync", "Stop"}}));
  }
}

TEST_F(ChunkReader, OldBaseFolderResolvesOnlyForExistingFolders) {
  folder.write("base/keep", "");
  const std::string base = folder.path() + "base/";
  const std::string smp1 = "smp1;13 characters" + base + ";";
  const std::string kick = "smp2;36;;\\$SAMPLE_BASE_DIR$\\k.wav;";
  // The last "smp1" wins, a missing folder stands for nothing, and version 2.0 ignores them.
  for (const auto& [text, path] :
       {std::pair{OldText("1.1", {smp1, kick}), base + "k.wav"},
        {OldText("1.0", {smp1, "smp1;\\$SAMPLE_BASE_DIR$\\;", kick}), "\\$SAMPLE_BASE_DIR$\\k.wav"},
        {VersionTwoText({smp1, kick}), "\\$SAMPLE_BASE_DIR$\\k.wav"}}) {
    loads.clear();
    SetChunk(*effect, text);
    ASSERT_EQ(loads.size(), 1u);
    EXPECT_EQ(loads[0].path, path);
  }
}

TEST_F(ChunkReader, RefusesTextsWhoseSecondLineIsNotExactlyAVersionLineOrThatANulCutsShort) {
  const std::string good = DefaultText();
  std::string carriageReturn = good;
  carriageReturn.insert(good.find("2.0\n") + 3, "\r");
  // A NUL byte with text after it would cut the text short: the rest of it would be lost.
  std::string nulInName = good;
  nulInName.insert(nulInName.find("smp2;37;") + 8, std::string(1, '\0'));
  const auto damaged = [](size_t at) {
    return "The data for Kestrelhollow in the project file is damaged: a NUL byte at byte " + std::to_string(at) +
           " cuts its text short. Nothing was loaded; the current state is kept.";
  };
  const std::vector<std::pair<std::string, std::string>> refused{
      {carriageReturn, kRefused},
      {good.substr(1), kRefused},  // no leading empty line
      {OldText("3.0", {"vst1;Stop;"}), kRefused},
      {"\nkestrelhollow data version 2.0\n", kRefused},
      {"\n", kRefused},
      {std::string("\0\nKestrelhollow Data Version 2.0\n", 32), damaged(0)},
      {nulInName, damaged(good.find("smp2;37;") + 8)},
  };
  for (const auto& [text, message] : refused) {
    loadMarkerState();
    EXPECT_EQ(SetChunk(*effect, text), 0);  // refused: the answer tells a host that reads it
    expectRefusedAndMarkerStateKept(message);
  }
  // A missing block or an empty size.
  for (const auto& [block, size] :
       {std::pair<char*, intptr_t>{nullptr, 100}, {carriageReturn.data(), 0}, {carriageReturn.data(), -5}}) {
    loadMarkerState();
    effect->getAeffect()->dispatcher(effect->getAeffect(), vst::effSetChunk, 0, size, block, 0.0f);
    expectRefusedAndMarkerStateKept();
  }
}

TEST_F(ChunkReader, SizeBoundsATextWithoutNulByte) {
  const std::string text = VersionTwoText({"vst1;Midi;"});
  std::string block = text + "vst1;Stop;\n";  // beyond the size the host gives
  SetChunk(*effect, std::string_view(block.data(), text.size()));
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Midi);
  // NUL bytes after the text are no damage.
  SetChunk(*effect, VersionTwoText({"vst1;Run;"}) + std::string(3, '\0'));
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Run);
  EXPECT_TRUE(messages.messages().empty());
}

// Each text reads to exactly the state its edits of the default text give: records that do not
// fit the model change nothing of it.
TEST_F(ChunkReader, RecordsSetOnlyWhatFitsTheModel) {
  const std::string velocities = "vel1;0;36;" + Repeated("127;", 5) + "50;20;" + Repeated("127;", 121);
  // A resolution is a pattern's: every holder's steps are written in it.
  std::string resolution32 = PatternRecord(0, 36, 32, "11") + "\n";
  for (int note = 37; note <= 47; ++note) resolution32 += PatternRecord(0, note, 32, "") + "\n";
  const struct {
    std::vector<std::string> records;
    std::vector<std::pair<std::string, std::string>> edits;
  } cases[] = {
      // Numbers beyond their controls' ranges, and beyond a float's.
      {{"smp2;36;Loud;;3e38;not_muted;100;3e38;-7;no_swing;", "smp2;37;Quiet;;-1;not_muted;-100;-3e38;1000;no_swing;",
        "syn1;1000;no_downmix;", "seq2;1e9;0;0;"},
       {{"smp2;36;;;1;not_muted;0;1;0.5;", "smp2;36;Loud;;1;not_muted;12;1;0;"},
        {"smp2;37;;;1;not_muted;0;1;0.5;", "smp2;37;Quiet;;0;not_muted;-12;0;1;"},
        {"syn1;0.75;", "syn1;1;"},
        {"seq2;0.5;", "seq2;1;"}}},
      {{"syn1;-1;no_downmix;", "seq2;-1e9;0;0;"}, {{"syn1;0.75;", "syn1;0;"}, {"seq2;0.5;", "seq2;0;"}}},
      {{"syn1;1e308;no_downmix;", "seq2;-1e999;0;0;"}, {{"syn1;0.75;", "syn1;1;"}, {"seq2;0.5;", "seq2;0;"}}},
      // Holders, patterns, resolutions, velocities and choke groups the model does not have.
      {{"smp2;48;Outside;/x.wav;0.5;muted;1;1;0.5;swing;", "smp2;35;Below;/y.wav;0.5;muted;1;1;0.5;swing;",
        PatternRecord(24, 36, 16, "1"), PatternRecord(0, 48, 16, "1"), PatternRecord(0, 35, 16, "1"),
        PatternRecord(1, 36, 24, "1"), PatternRecord(2, 36, 0, "1"), "seq2;0.5;0;24;", "vel1;24;36;5;", "vel1;0;48;5;",
        "chk1;48;1;", "chk1;35;1;", "chk1;36;5;", "chk1;36;-1;", "chk1;36;4294967297;"},
       {}},
      // Only velocities of 1..127 are taken; a later record changes only the steps it gives one.
      {{PatternRecord(0, 36, 16, "1111111"), "vel1;0;36;0;128;-1;x;4294967346;50;", "vel1;0;36;;;;;;;20;"},
       {{"seq2;", PatternRecord(0, 36, 16, "1111111") + "\n" + velocities + "\nseq2;"}}},
      // Missing fields read as empty, a missing number as 0.
      {{"seq1;0;36;32;1;1", "smp2;37;Rim", "syn1"},
       {{"smp2;37;;;1;not_muted;0;1;0.5;no_swing;", "smp2;37;Rim;;0;not_muted;0;0;0;no_swing;"},
        {"syn1;0.75;", "syn1;0;"},
        {"seq2;", resolution32 + "seq2;"}}},
      // An unknown mode word stops the transport scan.
      {{"vst1;Midi;", "vst1;stop;", "vst1;Run;"}, {{"Hsync", "Midi"}}},
      // Records in any order, repeated: the later wins; a sound word this version does not know
      // changes nothing.
      {{"vst1;Run;", "snd1;Classic;", "syn1;0.3;downmix;", "seq2;0.2;1;5;",
        "smp2;36;First;;1;not_muted;0;1;0.5;no_swing;", "syn1;0.4;no_downmix;", "snd1;Tuned;",
        "smp2;36;Second;;1;;0;1;0.5;no_swing;", "vst1;Stop;", "not a record", ";", "snd1;Louder;"},
       {{"smp2;36;;", "smp2;36;Second;"},
        {"syn1;0.75;no_downmix;", "syn1;0.4;no_downmix;\nsnd1;Tuned;"},
        {"seq2;0.5;0;0;", "seq2;0.2;1;5;"},
        {"Hsync", "Stop"}}},
  };
  for (const auto& [records, edits] : cases) {
    SCOPED_TRACE(records.front());
    SetChunk(*effect, VersionTwoText(records));
    EXPECT_EQ(GetChunk(*effect), Edited(DefaultText(), edits));
    EXPECT_FLOAT_EQ(engine().editorState().swingAmount, engine().patterns().swingAmount());
  }
  EXPECT_TRUE(loads.empty()) << "holders outside the model and empty paths load nothing";
  EXPECT_EQ(engine().lastMode(), engine::SyncMode::Run) << "Stop keeps the last mode that ran";
}

TEST_F(ChunkReader, StateMutexIsFreeAfterEveryLoad) {
  for (const std::string& text : {DefaultText(), std::string("refused")}) {
    SetChunk(*effect, text);
    EXPECT_TRUE(std::async(std::launch::async, [] {
                  return platform::BoundedLock(platform::StateMutex(), std::chrono::milliseconds(0)).owned();
                }).get());
  }
}

TEST_F(ChunkReader, PlaceholdersWithoutFieldEndsExpandInOnePass) {
  // One field of 64 KB of placeholders and backslashes: every placeholder becomes the folder,
  // every backslash after it this system's separator. A refused text of the same kind is refused
  // untouched.
  const std::string placeholder = "\\$VST_SAMPLE_DIR$\\";
  SetChunk(*effect, VersionTwoText({"smp2;36;Many;" + Repeated(placeholder + "a\\", 3600) + ";1;not_muted;0;1;0.5;;"}));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, Repeated(effect->instrument().samplesFolder() + "a" + platform::kPathSeparator, 3600));
  EXPECT_TRUE(messages.messages().empty());
  SetChunk(*effect, "\nKestrelhollow Data Version 9.9\n" + Repeated(placeholder, 60000));
  EXPECT_EQ(messages.count("Error"), 1u);
}

#ifndef _WIN32
// Windows has no data-size limit a process can set on itself (nor fork).
TEST_F(ChunkReader, MegabytesOfLineFeedsStayWithinASmallMultipleOfTheirSize) {
  if (!testhost::kAllocationsCounted) GTEST_SKIP() << "address limits do not mix with sanitizer runtimes";
  const std::string text = VersionTwoText({"vst1;Run;"}) + std::string(20'000'000, '\n') + "vst1;Midi;\n";
  // Within four times the text: a list of every line took 24.
  EXPECT_TRUE(testhost::SucceedsWithinDataGrowth(
      4 * text.size(), [&] { return SetChunk(*effect, text) == 1 && engine().syncMode() == engine::SyncMode::Midi; }));
}
#endif

TEST_F(ChunkReader, EachHolderLoadsOnlyFromItsLastRecordNamingAFile) {
  std::vector<std::string> records;
  for (int i = 0; i < 2000; ++i) records.push_back(DefaultHolderRecord(36 + i % 2, "n", "/x" + std::to_string(i)));
  records.push_back(DefaultHolderRecord(37, "Last", ""));
  SetChunk(*effect, VersionTwoText(records));
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_EQ(loads[0].note, 36);
  EXPECT_EQ(loads[0].path, "/x1998");
  EXPECT_EQ(loads[1].note, 37);
  EXPECT_EQ(loads[1].path, "/x1999");
  // The name comes from the last record all the same.
  EXPECT_EQ(holder(37).name(), "Last");
  EXPECT_EQ(holder(37).path(), "/x1999");
}

}  // namespace
}  // namespace persistencetest
