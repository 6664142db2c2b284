// The instrument's rules, called as the editor and every plug-in format call them.
#include "instrument/Instrument.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>

#include "persistence/MidiExport.h"
#include "platform/Paths.h"
#include "support/EffectFixture.h"
#include "support/NativePath.h"
#include "support/TempFolder.h"

namespace {

using engine::SyncMode;

class InstrumentRules : public ::testing::Test {
 protected:
  engine::DrumEngine& engine() { return instrument.engine(); }
  engine::PatternStore& patterns() { return engine().patterns(); }
  engine::StepClock& clock() { return engine().clock(); }
  engine::SampleHolder& holder(int index) {
    return engine().kit().holder(static_cast<uint8_t>(engine::kFirstNote + index));
  }
  // Every holder as a letter: '.' plays, 'M' muted by the user, 's' muted by a solo, 'S' soloed.
  std::string states() {
    std::string shown;
    for (int index = 0; index < engine::kHolderCount; ++index) {
      const uint32_t state = holder(index).muteState();
      shown += instrument.soloed(index)     ? (state == engine::kNotMuted ? 'S' : '?')
               : state == engine::kNotMuted ? '.'
               : state == engine::kMuted    ? 'M'
                                            : 's';
    }
    return shown;
  }
  // One block of the sequencer running at the tempo.
  void renderBlock(double tempo = 120.0) {
    constexpr int32_t kFrames = 512;
    static testhost::Block block(engine::kOutputCount, kFrames);
    engine().renderBlock({true, 44100.0, 0.0, tempo, true, true, true}, block.pointers.data(), kFrames);
  }

  testhost::TempFolder folder;
  // A documents folder that is not there yet.
  const std::string documents = folder.file("Documents") + platform::kPathSeparator;
  instrument::Instrument instrument{{folder.path(), {}, documents}};
};

// Each case from a fresh instrument: "M5" mutes holder 5 and "m5" unmutes it, "S1" and "s1"
// solo, "C3" clears holder 3 and "K0>3" copies holder 0 onto holder 3.
TEST_F(InstrumentRules, MuteSoloClearAndCopyLeaveEachHolderInItsState) {
  const struct {
    const char* what;
    const char* calls;
    const char* states;
  } cases[] = {
      {"a solo mutes the others, and the user's mutes stay the user's", "M5 S1 S2", "sSSssMssssss"},
      {"unmuting is refused while a solo is on", "S1 M7 m7", "sSsssssMssss"},
      {"muting a soloed holder ends its solo", "S1 S2 M1", "sMSsssssssss"},
      {"ending one of several solos leaves its holder muted by the solo", "S1 S2 s2", "sSssssssssss"},
      {"ending the last solo unmutes only what the solo muted", "M5 S1 S2 s2 s1", ".....M......"},
      {"a cleared holder is not muted", "M3 C3", "............"},
      {"a holder copied over is not muted", "M3 M0 K0>3", "M..........."},
  };
  for (const auto& c : cases) {
    instrument.resetAll();
    std::istringstream calls(c.calls);
    for (std::string call; calls >> call;) {
      const int index = std::stoi(call.substr(1));
      switch (call[0]) {
        case 'M':
        case 'm':
          instrument.setMute(index, call[0] == 'M');
          break;
        case 'S':
        case 's':
          instrument.setSolo(index, call[0] == 'S');
          break;
        case 'C':
          instrument.clearHolder(index);
          break;
        case 'K':
          instrument.copyHolder(index, std::stoi(call.substr(call.find('>') + 1)));
          break;
      }
    }
    EXPECT_EQ(states(), c.states) << c.what;
  }
}

TEST_F(InstrumentRules, StopPressedAgainRightAfterRunRewindsToTheBarsFirstStep) {
  const struct {
    SyncMode mode;
    SyncMode lastMode;
    bool rewinds;
  } cases[] = {{SyncMode::Run, SyncMode::Run, false},
               {SyncMode::Stop, SyncMode::Run, true},
               {SyncMode::Stop, SyncMode::Hsync, false}};
  for (const auto& c : cases) {
    engine().setSyncMode(SyncMode::Run);
    for (int block = 0; block < 200 && clock().currentStep() == 0; ++block) renderBlock();
    ASSERT_GT(clock().currentStep(), 0);
    engine().setSyncMode(c.mode);
    engine().setLastMode(c.lastMode);
    EXPECT_EQ(instrument.pressStop(), c.rewinds);
    EXPECT_EQ(engine().syncMode(), SyncMode::Stop);
    renderBlock();  // the audio thread takes the rewind
    EXPECT_EQ(clock().currentStep() == 0 && clock().barPosition() == 0, c.rewinds);
  }
}

TEST_F(InstrumentRules, StepsAndPatternsAreSetClearedAndCopied) {
  instrument.setStep(16, 52, 4, true);
  EXPECT_EQ(patterns().getCell(16, 52, 4), engine::kSoundingStepCell);
  instrument.setStep(16, 52, 4, false);
  EXPECT_EQ(patterns().getCell(16, 52, 4), 0x00017F00u) << "a cleared step keeps its velocity";
  instrument.setStep(16, 3, 0, true);
  for (const auto& [velocity, kept] : {std::pair{40, 40}, {0, 1}, {200, 127}}) {
    instrument.setStepVelocity(16, 3, 0, velocity);
    EXPECT_EQ(instrument.stepVelocity(16, 3, 0), kept) << velocity;
  }
  instrument.setStepVelocity(16, 3, 0, 40);
  EXPECT_TRUE(patterns().cellSounds(16, 3, 0));
  patterns().setCell(1, 16, 4, 0);  // as a project text sets a step
  EXPECT_EQ(instrument.stepVelocity(16, 4, 0), engine::kFullVelocity);
  instrument.copyPattern(16, 0);
  instrument.clearPattern(16);
  EXPECT_FALSE(patterns().cellSounds(16, 3, 0));
  EXPECT_TRUE(patterns().cellSounds(0, 3, 0));
  EXPECT_EQ(instrument.stepVelocity(0, 3, 0), 40);
  instrument.setStep(16, 3, 0, true);
  EXPECT_EQ(instrument.stepVelocity(16, 3, 0), engine::kFullVelocity) << "a step set again plays at full velocity";
  EXPECT_FALSE(patterns().cellSounds(0, 52, 4));
}

TEST_F(InstrumentRules, HoldersAreCopiedWithTheirSampleAndChokeGroupOnlyAndResetsRestoreTheDefaults) {
  testhost::InstallSamples(engine().kit(), engine::kFirstNote + 2, {0.5f, 0.25f});
  holder(2).setName("snare");
  holder(2).setPath(testhost::NativePath("/samples/snare.wav"));
  holder(2).setPan(0.25f);
  instrument.setChokeGroup(2, 3);
  for (const int outside : {-1, 5}) instrument.setChokeGroup(2, outside);
  instrument.setChokeGroup(12, 1);
  EXPECT_EQ(instrument.chokeGroup(2), 3);
  EXPECT_EQ(instrument.chokeGroup(12), engine::kNoChokeGroup);
  instrument.copyHolder(2, 2);
  EXPECT_EQ(holder(2).name(), "snare");
  EXPECT_EQ(holder(2).pan(), 0.25f);
  holder(5).setVolume(0.3f);
  holder(5).setSwing(true);
  instrument.copyHolder(2, 5);
  EXPECT_EQ(holder(5).name(), "snare");
  EXPECT_EQ(holder(5).path(), testhost::NativePath("/samples/snare.wav"));
  EXPECT_EQ(holder(5).fileNamePart(), "snare.wav");
  EXPECT_EQ(holder(5).length(), 2u);
  ASSERT_NE(holder(5).sample(), holder(2).sample()) << "each holder owns its own array";
  EXPECT_EQ(holder(5).sample()->samples[1], 0.25f);
  EXPECT_EQ(holder(5).volume(), holder(7).volume());
  EXPECT_FALSE(holder(5).swing());
  EXPECT_EQ(instrument.chokeGroup(5), 3);
  instrument.clearHolder(2);
  EXPECT_EQ(holder(2).name(), "");
  EXPECT_TRUE(holder(2).isEmpty());
  EXPECT_EQ(holder(2).pan(), engine::kDefaultPan);
  EXPECT_EQ(instrument.chokeGroup(2), engine::kNoChokeGroup);
  instrument.copyHolder(2, 5);
  EXPECT_EQ(holder(5).sample(), nullptr) << "an empty holder copied leaves its target without a sample";

  holder(1).setPan(0.2f);
  holder(1).setPitch(-3);
  engine().kitPlayer().setMasterLevel(0.1f);
  instrument.resetPan(1);
  instrument.resetPitch(1);
  instrument.resetMasterLevel();
  EXPECT_EQ(holder(1).pan(), engine::kDefaultPan);
  EXPECT_EQ(holder(1).pitch(), 0);
  EXPECT_EQ(engine().kitPlayer().masterLevel(), engine::kDefaultMasterLevel);
}

TEST_F(InstrumentRules, ResetAllLeavesWhatANewInstrumentHas) {
  testhost::InstallSamples(engine().kit(), engine::kFirstNote + 4, {0.5f});
  holder(4).setMuteState(engine::kMutedBySolo);
  holder(4).setPath("/x.wav");
  patterns().setResolution(7, 128);
  patterns().setCell(1, 7, 100, 3);
  patterns().setStepVelocity(30, 7, 100, 3);
  instrument.setChokeGroup(4, 2);
  clock().selectPattern(7);
  patterns().setSwingAmount(0.9f);
  engine().setSyncMode(SyncMode::Stop);
  engine().setLastMode(SyncMode::Run);
  engine().kitPlayer().setDownmix(true);
  engine().kitPlayer().setMasterLevel(0.2f);
  instrument.resetAll();
  // The saved text shows every setting.
  instrument::Instrument fresh{{folder.path(), {}, documents}};
  EXPECT_EQ(instrument.saveProject(), fresh.saveProject());
  EXPECT_TRUE(holder(4).isEmpty());
  EXPECT_EQ(engine().lastMode(), SyncMode::Hsync);
}

TEST_F(InstrumentRules, PatternsGoOutAsMidiFilesNamedAfterThemAndTheTimeIntoTheDocumentsFolder) {
  const std::string folderOfFiles =
      documents + "Kestrelhollow" + platform::kPathSeparator + "MIDI" + platform::kPathSeparator;
  instrument.setStep(2, 4, 1, true);
  // 120 beats per minute until a host tells its tempo.
  for (const auto& [pattern, tempo, name] :
       {std::tuple{std::optional<int>{2}, 0.0, "Oct2 D"}, std::tuple{std::optional<int>{}, 93.0, "All patterns"}}) {
    if (tempo > 0.0) renderBlock(tempo);
    const instrument::ExportResult result = instrument.exportPatternsAsMidi(pattern);
    ASSERT_TRUE(result.written) << result.reason;
    ASSERT_TRUE(result.path.starts_with(folderOfFiles)) << result.path;
    const std::string file = result.path.substr(folderOfFiles.size());
    // The name, then the local time: '9' stands for any digit.
    const std::string shape = std::string(name) + " 9999-99-99 99-99-99.mid";
    EXPECT_TRUE(std::equal(file.begin(), file.end(), shape.begin(), shape.end(), [](char c, char s) {
      return s == '9' ? std::isdigit(static_cast<unsigned char>(c)) != 0 : c == s;
    })) << file;
    EXPECT_EQ(testhost::ReadBytes(result.path),
              persistence::PatternsAsMidiFile(patterns(), engine().kit(), pattern, tempo > 0.0 ? tempo : 120.0));
  }

  // Where the folder should be stands a file: nothing is written, and the reason names it.
  testhost::TempFolder blocked;
  blocked.write("Kestrelhollow", "x");
  instrument::Instrument blockedInstrument{{folder.path(), {}, blocked.path()}};
  const instrument::ExportResult refused = blockedInstrument.exportPatternsAsMidi(0);
  EXPECT_FALSE(refused.written);
  EXPECT_NE(refused.reason.find("Cannot create " + blocked.file("Kestrelhollow")), std::string::npos) << refused.reason;
  EXPECT_EQ(testhost::ReadBytes(blocked.file("Kestrelhollow")), "x");
  EXPECT_EQ(instrument.exportPatternsAsMidi(24).reason, "There is no pattern 24");
}

}  // namespace
