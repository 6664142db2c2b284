// The step sequencer as a DAW drives it: song positions, tempo and transport flags every
// block, MIDI notes at frame offsets; and the bounds of its pattern tables. Every holder holds
// a one-frame click, so its output is non-zero exactly at the frames where it is triggered.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Limits.h"
#include "support/EffectFixture.h"

namespace {

using engine::SyncMode;
using testhost::kControlChange;
using testhost::kNoteOn;
using Frames = std::vector<int64_t>;

constexpr int32_t kBlock = 512;
constexpr int kBarBlocks = 96000 / kBlock + 1;  // one bar at 120 BPM and 48 kHz, and a little more

class Sequencer : public testhost::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    installClicks();
  }
  void setSteps(int pattern, int holder, std::initializer_list<int> steps) {
    for (int step : steps) patterns().setCell(1, pattern, step, holder);
  }
  void setAllSteps(int pattern, int holder) {
    for (int step = 0; step < patterns().resolution(pattern); ++step) patterns().setCell(1, pattern, step, holder);
  }
  Frames play(int blocks, int holder = 0) { return testhost::SoundingFrames(render(blocks, kBlock), holder, kBlock); }
};

TEST_F(Sequencer, StepsLandOnTheirExactFramesAtEveryResolution) {
  for (int32_t resolution : {16, 32, 64, 128}) {
    patterns().setResolution(0, resolution);
    patterns().clearPattern(0);
    setAllSteps(0, 0);
    host->setTransport(true, 0.0);
    Frames expected;
    for (int step = 0; step <= resolution; ++step) expected.push_back(static_cast<int64_t>(step) * 96000 / resolution);
    EXPECT_EQ(play(kBarBlocks), expected) << resolution;
  }
}

// Holder 0 plays every step at its velocity (full as a project's steps), holder 1 swung.
TEST_F(Sequencer, StepsPlayAtTheirVelocityAndSwingDelaysTheOddStepsOfSwungHolders) {
  setAllSteps(0, 0);
  setAllSteps(0, 1);
  patterns().setStepVelocity(40, 0, 0, 0);
  patterns().setStepVelocity(1, 0, 8, 0);
  kit().holder(engine::kFirstNote + 1).setSwing(true);
  host->setTransport(true, 0.0);
  const auto blocks = render(kBarBlocks - 1, kBlock);
  const auto at = [&](int64_t frame) {
    return blocks[static_cast<size_t>(frame / kBlock)].at(0, static_cast<int>(frame % kBlock));
  };
  EXPECT_FLOAT_EQ(at(0), 40.0f / 127.0f * testhost::kMasterLevel);
  EXPECT_FLOAT_EQ(at(24000), testhost::kMasterLevel);
  EXPECT_FLOAT_EQ(at(48000), 1.0f / 127.0f * testhost::kMasterLevel);
  const Frames straight = testhost::SoundingFrames(blocks, 0, kBlock);
  const Frames swung = testhost::SoundingFrames(blocks, 1, kBlock);
  ASSERT_EQ(swung.size(), 16u);
  EXPECT_EQ(straight[15], 90000);
  EXPECT_EQ(swung[1], 9000);
  EXPECT_EQ(swung[2], 12000);
  EXPECT_EQ(swung[15], 93000);
  // Fully swung, the last step stays in its bar, one frame before the next bar.
  engine().editorState().swingAmount = 1.0f;
  patterns().clearPattern(0);
  setSteps(0, 1, {15});
  host->setTransport(true, 0.0);
  EXPECT_EQ(play(kBarBlocks, 1), (Frames{95999}));
}

// Playing or not, the clock follows the song position modulo one bar; only a playing transport
// schedules steps, from the one at that position. Before the song start (pre-roll) nothing plays
// and the first beat is on time. Loops and jumps are followed at the next block.
TEST_F(Sequencer, FollowsTheSongPositionAndPlaysFromTheStepThere) {
  host->setTransport(false, 5.5);
  host->process(1);
  EXPECT_EQ(clock().barPosition(), 36000 + 1);
  EXPECT_EQ(clock().currentStep(), 6);
  setAllSteps(0, 0);
  host->setTransport(false, 2.0);
  EXPECT_TRUE(play(30).empty());
  EXPECT_EQ(clock().currentStep(), 10);
  EXPECT_FALSE(engine().editorState().positionHidden);
  for (const auto& [ppq, first, second] : {std::tuple{1.5, 0, 6000}, {-1.0, 24000, 30000}}) {
    host->setTransport(true, ppq);
    const Frames frames = play(60);
    ASSERT_GE(frames.size(), 2u) << ppq;
    EXPECT_EQ(frames[0], first) << ppq;
    EXPECT_EQ(frames[1], second) << ppq;
  }
  host->setTransport(true, 0.0);  // a loop back
  EXPECT_EQ(play(1), (Frames{0}));
  host->setTransport(true, 3.0);  // the fourth beat: step 12
  host->process(kBlock);
  EXPECT_EQ(clock().currentStep(), 12);
}

// Also when the block reaches just one frame into the next bar: its last frame.
TEST_F(Sequencer, StepZeroOfTheNextBarIsQueuedOnceFromTheBlockBefore) {
  setSteps(0, 0, {0});
  for (const int64_t start : {95800, 96000 - kBlock + 1}) {
    host->setTransport(true, static_cast<double>(start) / 24000.0);
    EXPECT_EQ(play(2), (Frames{96000 - start})) << start;
    EXPECT_EQ(clock().barPosition(), start + 2 * kBlock - 96000) << start;
  }
}

TEST_F(Sequencer, RunModeFollowsATempoChangeFromTheNextStep) {
  engine().setSyncMode(SyncMode::Run);
  setAllSteps(0, 0);
  host->setTransport(false, 0.0, 120.0);
  EXPECT_EQ(play(20), (Frames{0, 6000}));  // 10240 frames
  host->setTransport(false, 0.0, 60.0);
  // The bar is re-placed on the next step's start at the new tempo: it sounds at once, then every 12000 frames.
  EXPECT_EQ(play(50), (Frames{0, 12000, 24000}));
}

// Run waits for a valid tempo; a block without time information plays nothing and holds the
// clock in either mode.
TEST_F(Sequencer, WithoutTimeInformationNothingPlaysAndTheClockHolds) {
  engine().setSyncMode(SyncMode::Run);
  setAllSteps(0, 0);
  host->timeInfo.flags = 0;
  EXPECT_TRUE(play(20).empty());
  host->setTransport(false, 0.0, 120.0);
  EXPECT_FALSE(play(20).empty());
  for (const SyncMode mode : {SyncMode::Hsync, SyncMode::Run}) {
    engine().setSyncMode(mode);
    host->answers.timeInfo = true;
    host->setTransport(true, 1.0);
    host->process(kBlock);
    const int32_t position = clock().barPosition();
    host->answers.timeInfo = false;
    EXPECT_TRUE(play(40).empty());
    EXPECT_EQ(clock().barPosition(), position);
  }
}

TEST_F(Sequencer, APatternNoteSwitchesAtItsFrame) {
  patterns().setResolution(1, 32);
  setSteps(0, 0, {1});
  setSteps(1, 1, {4});
  host->setTransport(true, 5700.0 / 24000.0);
  host->sendMidi({{100, kNoteOn, engine::kFirstPatternNote + 1, 90}});
  const uint32_t patternChanges = engine().editorState().patternChanges;
  const auto first = render(1, kBlock);
  EXPECT_EQ(clock().currentPattern(), 1);
  EXPECT_EQ(clock().currentStep(), 2) << "on the new pattern's grid from frame 100 on";
  EXPECT_GT(engine().editorState().patternChanges, patternChanges) << "the editor is asked to show it";
  EXPECT_EQ(testhost::SoundingFrames(first, 0, kBlock), (Frames{300})) << "queued before the switch";
  const auto next = render(20, kBlock);
  EXPECT_EQ(testhost::SoundingFrames(next, 1, kBlock), (Frames{12000 - 5700 - kBlock}));
  EXPECT_TRUE(testhost::SoundingFrames(next, 0, kBlock).empty());
}

// Hsync takes pattern notes and drops holder notes; Midi plays holder notes at their offsets on
// any channel and drops pattern notes; Stop drops both but reports control changes.
TEST_F(Sequencer, EachModeTakesItsOwnNotes) {
  host->setTransport(false, 0.0);
  host->sendMidi({{0, kNoteOn, engine::kFirstNote, 127}, {10, kNoteOn, 61, 127}, {20, 0x80, 62, 0}});
  EXPECT_TRUE(play(1).empty());
  EXPECT_EQ(clock().currentPattern(), 13);

  engine().setSyncMode(SyncMode::Midi);
  testhost::InstallSamples(kit(), engine::kFirstNote + 4, std::vector<float>(64, 1.0f));
  host->sendMidi(
      {{17, kNoteOn | 0x0F, engine::kFirstNote + 4, 100}, {3, kNoteOn | 0x03, engine::kFirstPatternNote, 127}});
  const testhost::Block block = host->process(64);
  EXPECT_EQ(block.at(8, 16), 0.0f);
  EXPECT_FLOAT_EQ(block.at(8, 17), 100.0f / 127.0f * testhost::kMasterLevel);
  EXPECT_EQ(clock().currentPattern(), 13) << "pattern notes are dropped in Midi mode";
  EXPECT_TRUE(engine().editorState().positionHidden);

  engine().setSyncMode(SyncMode::Stop);
  clock().rewind();
  setAllSteps(13, 0);
  host->setTransport(true, 0.0);
  host->sendMidi({{0, kNoteOn, engine::kFirstPatternNote + 2, 127}, {0, kControlChange | 0x05, 7, 127}});
  EXPECT_TRUE(play(20).empty());
  EXPECT_EQ(clock().currentPattern(), 13);
  // A host maps controllers to parameters itself; the effect reports none as automation.
  EXPECT_TRUE(host->automations.empty());
  EXPECT_EQ(clock().barPosition(), 0) << "the clock stands still";
  EXPECT_TRUE(engine().editorState().positionHidden) << "the last mode was not Run";
}

// Out of the pattern tables nothing is written or read, and only the four resolutions are taken.
TEST_F(Sequencer, NothingOutsideThePatternTablesOrTheFourResolutionsIsTaken) {
  for (const auto& [pattern, step, holder] : {std::tuple{24, 0, 0}, {0, 128, 0}, {0, 0, 12}, {-1, 0, 0}}) {
    patterns().setCell(1, pattern, step, holder);
  }
  EXPECT_EQ(patterns().getCell(24, 0, 0), 0u);
  patterns().setResolution(4, 64);
  for (int32_t wrong : {0, 15, 17, 100, 129, 256, -16}) patterns().setResolution(4, wrong);
  EXPECT_EQ(patterns().resolution(4), 64);
  patterns().setResolution(30, 32);
  EXPECT_EQ(patterns().resolution(30), engine::kDefaultResolution);
}

TEST_F(Sequencer, TwoInstancesKeepTheirOwnClocks) {
  testhost::TestHost other;
  ASSERT_TRUE(other.createInProcess());
  other.setTransport(false, 0.0, 60.0);
  other.start();
  engine::DrumEngine& otherEngine = other.object<plugin::Vst>().instrument().engine();
  testhost::InstallSamples(otherEngine.kit(), engine::kFirstNote, {1.0f});
  for (int step = 0; step < 16; ++step) otherEngine.patterns().setCell(1, 0, step, 0);
  otherEngine.setSyncMode(SyncMode::Run);
  engine().setSyncMode(SyncMode::Run);
  setAllSteps(0, 0);
  host->setTransport(false, 0.0, 120.0);
  std::vector<testhost::Block> mine;
  std::vector<testhost::Block> theirs;
  for (int block = 0; block < 60; ++block) {
    mine.push_back(host->process(kBlock));
    theirs.push_back(other.process(kBlock));
  }
  EXPECT_EQ(testhost::SoundingFrames(mine, 0, kBlock), (Frames{0, 6000, 12000, 18000, 24000, 30000}));
  EXPECT_EQ(testhost::SoundingFrames(theirs, 0, kBlock), (Frames{0, 12000, 24000}));
}

}  // namespace
