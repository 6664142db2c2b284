// The kit and pattern model: holders' settings, copying, clearing and the reset of everything.
#include <gtest/gtest.h>

#include <initializer_list>

#include "engine/Limits.h"
#include "support/EffectFixture.h"
#include "support/NativePath.h"

namespace {

using engine::kFirstNote;

class Model : public testhost::EffectFixture {
 protected:
  engine::SampleHolder& holder(int index = 0) { return kit().holder(static_cast<uint8_t>(kFirstNote + index)); }
};

TEST_F(Model, PanLawKeepsTheCentreAtFullVolume) {
  struct Case {
    float pan, left, right;
  };
  for (const Case& c : {Case{0.45f, 1.0f, 1.0f}, Case{0.55f, 1.0f, 1.0f}, Case{0.5f, 1.0f, 1.0f},
                        Case{0.2f, 1.0f, 0.4f}, Case{1.0f, 0.0f, 1.0f}, Case{0.0f, 1.0f, 0.0f}}) {
    holder().setPan(c.pan);
    EXPECT_FLOAT_EQ(holder().leftGain(), c.left) << c.pan;
    EXPECT_FLOAT_EQ(holder().rightGain(), c.right) << c.pan;
  }
  holder().setPan(0.8f);
  holder().setVolume(0.5f);
  EXPECT_FLOAT_EQ(holder().leftGain(), 0.2f);
  EXPECT_FLOAT_EQ(holder().rightGain(), 0.5f);
}

TEST_F(Model, CopyingOntoAHolderWithASampleResetsItsSettings) {
  testhost::InstallSamples(kit(), kFirstNote, {0.1f, 0.2f, 0.3f});
  holder(0).setPath("/samples/kick.wav");
  holder(0).setName("Kick");

  // Onto an empty holder: its own settings stay.
  holder(1).setPan(0.1f);
  holder(1).setPitch(5);
  kit().copyHolder(kFirstNote, kFirstNote + 1);
  EXPECT_FLOAT_EQ(holder(1).pan(), 0.1f);
  EXPECT_EQ(holder(1).pitch(), 5);
  EXPECT_EQ(holder(1).path(), "/samples/kick.wav");
  EXPECT_EQ(holder(1).name(), "Kick");
  EXPECT_EQ(holder(1).length(), 3u);
  EXPECT_FALSE(holder(1).isEmpty());
  EXPECT_NE(holder(1).sample(), holder(0).sample()) << "each holder owns its own array";

  // Onto a holder that has a sample: its settings go back to the defaults.
  holder(1).setVolume(0.3f);
  holder(1).setSwing(true);
  holder(1).setMuteState(engine::kMuted);
  kit().copyHolder(kFirstNote, kFirstNote + 1);
  EXPECT_FLOAT_EQ(holder(1).pan(), 0.5f);
  EXPECT_FLOAT_EQ(holder(1).volume(), 1.0f);
  EXPECT_EQ(holder(1).pitch(), 0);
  EXPECT_FALSE(holder(1).swing());
  EXPECT_EQ(holder(1).muteState(), engine::kNotMuted);
  EXPECT_FLOAT_EQ(holder(1).sample()->samples[2], 0.3f);

  // Copying an empty holder leaves the target without a sample.
  kit().copyHolder(kFirstNote + 5, kFirstNote + 1);
  EXPECT_TRUE(holder(1).isEmpty());
  EXPECT_EQ(holder(1).sample(), nullptr);
}

TEST_F(Model, FileNameAndFolderParts) {
  holder().setPath(testhost::NativePath("/home/user/Kicks/kick01.wav"));
  EXPECT_EQ(holder().fileNamePart(), "kick01.wav");
  EXPECT_EQ(holder().folderPart(), testhost::NativePath("/home/user/Kicks/"));
}

TEST_F(Model, CellsKeepTheirUpperBitsAndSoundByTheLowByte) {
  patterns().setCell(engine::kSoundingStepCell, 3, 4, 5);
  EXPECT_TRUE(patterns().cellSounds(3, 4, 5));
  patterns().clearCell(3, 4, 5);
  EXPECT_EQ(patterns().getCell(3, 4, 5), 0x00017F00u);
  EXPECT_FALSE(patterns().cellSounds(3, 4, 5));

  patterns().setCell(1, 2, 127, 11);
  patterns().copyPattern(2, 9);
  EXPECT_TRUE(patterns().cellSounds(9, 127, 11));
  patterns().clearPattern(2);
  EXPECT_FALSE(patterns().cellSounds(2, 127, 11));
  EXPECT_TRUE(patterns().cellSounds(9, 127, 11));

  // Out of the model's tables nothing is written or read.
  patterns().setCell(1, 24, 0, 0);
  patterns().setCell(1, 0, 128, 0);
  patterns().setCell(1, 0, 0, 12);
  patterns().setCell(1, -1, 0, 0);
  EXPECT_EQ(patterns().getCell(24, 0, 0), 0u);
}

TEST_F(Model, OnlyTheFourResolutionsAreAccepted) {
  patterns().setResolution(4, 64);
  for (int32_t wrong : {0, 15, 17, 100, 129, 256, -16}) patterns().setResolution(4, wrong);
  EXPECT_EQ(patterns().resolution(4), 64);
  patterns().setResolution(30, 32);
  EXPECT_EQ(patterns().resolution(30), engine::kDefaultResolution);
}

TEST_F(Model, SoloAndMuteKeepEveryOtherHolderMutedWhileAnySoloIsOn) {
  instrument::Instrument& rules = vst().instrument();
  const auto expectStates = [this](std::initializer_list<int> holders, uint32_t state) {
    for (int index : holders) EXPECT_EQ(holder(index).muteState(), state) << index;
  };
  rules.setMute(5, true);
  rules.setSolo(1, true);
  rules.setSolo(2, true);
  expectStates({1, 2}, engine::kNotMuted);
  expectStates({0, 3, 11}, engine::kMutedBySolo);
  expectStates({5}, engine::kMuted);
  rules.setMute(7, false);  // refused while a solo is on
  expectStates({7}, engine::kMuted);
  rules.setSolo(2, false);
  expectStates({2}, engine::kMutedBySolo);
  rules.setSolo(1, false);
  expectStates({0, 1, 2, 3, 11}, engine::kNotMuted);
  expectStates({5, 7}, engine::kMuted);
}

TEST_F(Model, StopPressedAgainRightAfterRunRewindsToTheBarsFirstStep) {
  instrument::Instrument& rules = vst().instrument();
  engine().setSyncMode(engine::SyncMode::Run);
  host->setTransport(true, 0.0);
  Render(60, 512);
  ASSERT_GT(clock().currentStep(), 0);
  EXPECT_FALSE(rules.pressStop());
  EXPECT_EQ(engine().syncMode(), engine::SyncMode::Stop);
  engine().setLastMode(engine::SyncMode::Hsync);
  EXPECT_FALSE(rules.pressStop());
  engine().setLastMode(engine::SyncMode::Run);
  EXPECT_TRUE(rules.pressStop());
  Render(1, 512);
  EXPECT_EQ(clock().currentStep(), 0);
  EXPECT_EQ(clock().barPosition(), 0);
}

TEST_F(Model, ResetAllEmptiesEverything) {
  testhost::InstallSamples(kit(), kFirstNote + 4, {0.5f});
  holder(4).setMuteState(engine::kMutedBySolo);
  holder(4).setPath("/x.wav");
  patterns().setResolution(7, 128);
  patterns().setCell(1, 7, 100, 3);
  patterns().setStepVelocity(30, 7, 100, 3);
  vst().instrument().setChokeGroup(4, 2);
  clock().selectPattern(7);
  patterns().setSwingAmount(0.9f);
  engine().setSyncMode(engine::SyncMode::Stop);
  engine().setLastMode(engine::SyncMode::Run);
  engine().kitPlayer().setDownmix(true);
  engine().kitPlayer().setMasterLevel(0.2f);

  vst().instrument().resetAll();

  // The saved text shows every setting: it is a new effect's.
  testhost::TestHost fresh;
  ASSERT_TRUE(fresh.createInProcess());
  EXPECT_EQ(host->savedProject(), fresh.savedProject());
  EXPECT_TRUE(holder(4).isEmpty());
  EXPECT_EQ(engine().lastMode(), engine::SyncMode::Hsync);
}

}  // namespace
