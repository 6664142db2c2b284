// Loading project texts into an effect: round trips, old versions, refused texts, and
// records that do not fit the model.
#include <gtest/gtest.h>

#include <future>
#include <tuple>
#include <thread>

#include "EffectInFolder.h"
#include "ExpectedText.h"
#include "platform/BoundedLock.h"

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

class ChunkReader : public EffectInFolder {
 protected:
  void SetUp() override { effect = CreateEffect(); }
  engine::DrumEngine& engine() { return engineOf(*effect); }
  engine::SampleHolder& holder(uint8_t note) { return engine().kit().holder(note); }
  // A recognisable state that a refused text must leave alone.
  void LoadMarkerState() {
    SetChunk(*effect, VersionTwoText({"smp2;38;Marker;;0.5;muted;3;0.4;0.3;swing;", PatternRecord(7, 40, 64, "11"),
                                      "vst1;Run;"}));
    messages.clear();
    loads.clear();
  }
  void ExpectMarkerStateKept() {
    EXPECT_EQ(holder(38).name(), "Marker");
    EXPECT_TRUE(engine().patterns().cellSounds(7, 1, 4));
    EXPECT_EQ(engine().patterns().resolution(7), 64);
    EXPECT_EQ(engine().syncMode(), engine::SyncMode::Run);
  }
  void ExpectRefused(const std::string& text = kRefused) {
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "Error");
    EXPECT_EQ(messages.messages()[0].text, text);
  }

  std::unique_ptr<plugin::Vst> effect;
};

TEST_F(ChunkReader, WrittenTextReadsBackToTheSameModel) {
  engine::Kit& kit = engine().kit();
  for (uint8_t note = 36; note <= 47; ++note) {
    engine::SampleHolder& h = kit.holder(note);
    h.setName("Holder " + std::to_string(note));
    h.setPath(note % 2 ? effect->instrument().samplesFolder() + "Factory/" + std::to_string(note) + ".wav" : "/abs/x.wav");
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
  patterns.setResolution(9, 64);
  for (int step = 0; step < 128; step += 3) patterns.setCell(1, 3, step, step % engine::kHolderCount);
  patterns.setCell(1, 23, 15, 11);
  patterns.setSwingAmount(0.27f);
  patterns.setSequencerModeSetting(2);
  engine().clock().selectPattern(9);
  engine().setSyncMode(engine::SyncMode::Midi);
  const std::string saved = GetChunk(*effect);

  auto restored = CreateEffect();
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
  // The editor's swing amount is the loaded one.
  EXPECT_FLOAT_EQ(copy.editorState().swingAmount, 0.27f);
}

TEST_F(ChunkReader, OldVersionsAreConvertedWithAWarningAndDefaultsForWhatTheyLacked) {
  // 1.0 knew neither volume nor master level, 1.1 added both; neither knew pan, swing,
  // downmix or the sequencer settings, whatever their records say.
  const std::vector<std::string> records{"smp2;36;Kick;/k.wav;0.5;muted;-3;0.2;0.1;swing;", "syn1;0.2;downmix;",
                                         "seq1;4;36;1;0;0;0;1;0;0;0;1;0;0;0;1;0;0;1;1;1;", "seq2;0.1;2;4;",
                                         "vst1;Stop;"};
  for (const auto& [version, volume, masterLevel] : {std::tuple{"1.0", 1.0f, 0.75f}, std::tuple{"1.1", 0.2f, 0.2f}}) {
    SCOPED_TRACE(version);
    LoadMarkerState();
    SetChunk(*effect, OldText(version, records));
    ASSERT_EQ(messages.count("Warning"), 1u);
    EXPECT_EQ(messages.messages()[0].text,
              "The saved data for Kestrelhollow in the project file is of an older version of Kestrelhollow. It will "
              "be converted to the new version. If you save this project is saved you are not going to be able to "
              "open this project with an older version of Kestrelhollow anymore.");
    EXPECT_EQ(holder(36).name(), "Kick");
    EXPECT_FLOAT_EQ(holder(36).lengthFraction(), 0.5f);
    EXPECT_EQ(holder(36).muteState(), 1u);
    EXPECT_EQ(holder(36).pitch(), -3);
    EXPECT_FLOAT_EQ(holder(36).volume(), volume);
    EXPECT_FLOAT_EQ(holder(36).pan(), 0.5f);
    EXPECT_FALSE(holder(36).swing());
    EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), masterLevel);
    EXPECT_FALSE(engine().kitPlayer().downmix());
    engine::PatternStore& patterns = engine().patterns();
    EXPECT_EQ(patterns.resolution(4), 16);
    EXPECT_TRUE(patterns.cellSounds(4, 0, 0));
    EXPECT_TRUE(patterns.cellSounds(4, 15, 0));
    EXPECT_FALSE(patterns.cellSounds(4, 16, 0));  // only 16 steps are taken
    EXPECT_FLOAT_EQ(patterns.swingAmount(), 0.5f);
    EXPECT_EQ(patterns.sequencerModeSetting(), 0u);
    EXPECT_EQ(engine().clock().currentPattern(), 0);
    EXPECT_EQ(engine().syncMode(), engine::SyncMode::Stop);
    // Nothing of the previous project survives.
    EXPECT_EQ(holder(38).name(), "");
    EXPECT_EQ(patterns.resolution(7), 16);
    // The next save is version 2.0.
    EXPECT_NE(GetChunk(*effect).find("\nKestrelhollow Data Version 2.0\n"), std::string::npos);
  }
}

TEST_F(ChunkReader, OldBaseFolderResolvesOnlyForExistingFolders) {
  folder.write("base/keep", "");
  const std::string base = folder.path() + "base/";
  SetChunk(*effect, OldText("1.1", {"smp1;13 characters" + base + ";", "smp2;36;;\\$SAMPLE_BASE_DIR$\\k.wav;"}));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, base + "k.wav");

  loads.clear();
  SetChunk(*effect, OldText("1.0", {"smp1;13 characters" + base + ";", "smp1;\\$SAMPLE_BASE_DIR$\\;",
                                    "smp2;36;;\\$SAMPLE_BASE_DIR$\\k.wav;"}));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, "\\$SAMPLE_BASE_DIR$\\k.wav");

  // Version 2.0 ignores base folders.
  loads.clear();
  SetChunk(*effect, VersionTwoText({"smp1;13 characters" + base + ";", "smp2;36;;\\$SAMPLE_BASE_DIR$\\k.wav;"}));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, "\\$SAMPLE_BASE_DIR$\\k.wav");
}

TEST_F(ChunkReader, RefusesTextsWhoseSecondLineIsNotExactlyAVersionLine) {
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
    LoadMarkerState();
    EXPECT_EQ(SetChunk(*effect, text), 0);  // refused: the answer tells a host that reads it
    ExpectRefused(message);
    ExpectMarkerStateKept();
  }
}

TEST_F(ChunkReader, RefusesAMissingBlockOrAnEmptySize) {
  const std::string text = DefaultText();
  char* const data = const_cast<char*>(text.data());
  for (const auto& [block, size] : {std::pair<char*, intptr_t>{nullptr, 100}, {data, 0}, {data, -5}}) {
    SCOPED_TRACE(size);
    LoadMarkerState();
    vst::AEffect* aeffect = effect->getAeffect();
    aeffect->dispatcher(aeffect, vst::effSetChunk, 0, size, block, 0.0f);
    ExpectRefused();
    ExpectMarkerStateKept();
  }
}

TEST_F(ChunkReader, SizeBoundsATextWithoutNulByte) {
  const std::string text = VersionTwoText({"vst1;Midi;"});
  std::string block = text + "vst1;Stop;\n";  // beyond the size the host gives
  SetChunk(*effect, std::string_view(block.data(), text.size()));
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Midi);
  EXPECT_TRUE(messages.messages().empty());
  // NUL bytes after the text are no damage.
  SetChunk(*effect, VersionTwoText({"vst1;Run;"}) + std::string(3, '\0'));
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Run);
  EXPECT_TRUE(messages.messages().empty());
}

TEST_F(ChunkReader, RecordsMayBeReorderedAndRepeatedAndTheLaterWins) {
  SetChunk(*effect, "\nKestrelhollow Data Version 2.0\nvst1;Run;\nsyn1;0.3;downmix;\nseq2;0.2;1;5;\n"
                    "smp2;36;First;;1;not_muted;0;1;0.5;no_swing;\nsyn1;0.4;no_downmix;\n"
                    "smp2;36;Second;;1;;0;1;0.5;no_swing;\nvst1;Stop;\nnot a record\n;\n");
  EXPECT_EQ(holder(36).name(), "Second");
  EXPECT_TRUE(holder(36).isEmpty());
  EXPECT_TRUE(loads.empty()) << "empty paths load nothing";
  EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), 0.4f);
  EXPECT_FALSE(engine().kitPlayer().downmix());
  EXPECT_EQ(engine().clock().currentPattern(), 5);
  // Stop keeps the last mode that ran.
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Stop);
  EXPECT_EQ(engine().lastMode(), engine::SyncMode::Run);
}

TEST_F(ChunkReader, UnknownModeWordStopsTheTransportScan) {
  SetChunk(*effect, VersionTwoText({"vst1;Midi;", "vst1;stop;", "vst1;Run;"}));
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Midi);
}

TEST_F(ChunkReader, ShortRecordsReadMissingFieldsAsEmpty) {
  engine().patterns().setCell(1, 0, 100, 0);
  SetChunk(*effect, VersionTwoText({"seq1;0;36;32;1;1", "smp2;37;Rim", "syn1"}));
  engine::PatternStore& patterns = engine().patterns();
  EXPECT_EQ(patterns.resolution(0), 32);
  EXPECT_TRUE(patterns.cellSounds(0, 1, 0));
  EXPECT_FALSE(patterns.cellSounds(0, 2, 0));
  EXPECT_EQ(holder(37).name(), "Rim");
  EXPECT_FLOAT_EQ(holder(37).lengthFraction(), 0.0f);  // a missing number reads as 0
  EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), 0.0f);
}

TEST_F(ChunkReader, RecordsOutsideTheModelAreIgnored) {
  SetChunk(*effect, VersionTwoText({
                        "smp2;48;Outside;/x.wav;0.5;muted;1;1;0.5;swing;",
                        "smp2;35;Below;/y.wav;0.5;muted;1;1;0.5;swing;",
                        PatternRecord(24, 36, 16, "1"),
                        PatternRecord(0, 48, 16, "1"),
                        PatternRecord(0, 35, 16, "1"),
                        PatternRecord(1, 36, 24, "1"),
                        PatternRecord(2, 36, 0, "1"),
                        "seq2;0.5;0;24;",
                    }));
  EXPECT_TRUE(loads.empty());
  EXPECT_EQ(GetChunk(*effect), DefaultText());  // no holder, cell, resolution or pattern changed
}

TEST_F(ChunkReader, StateMutexIsFreeAfterEveryLoad) {
  const auto freeElsewhere = [] {
    return std::async(std::launch::async, [] {
             const platform::BoundedLock lock(platform::StateMutex(), std::chrono::milliseconds(0));
             return lock.owned();
           }).get();
  };
  SetChunk(*effect, DefaultText());
  EXPECT_TRUE(freeElsewhere());
  SetChunk(*effect, "refused");
  EXPECT_TRUE(freeElsewhere());
}

}  // namespace
}  // namespace persistencetest
