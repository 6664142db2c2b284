// The voices as a host hears them: notes in Midi mode render the holders' samples with pitch,
// pan, volume, velocity, release, mute, preview and the output layout; and the queue of a
// block's note events at its capacity.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "engine/Limits.h"
#include "engine/NoteEventQueue.h"
#include "support/EffectFixture.h"

namespace {

using engine::kFirstNote;
using engine::SyncMode;
using testhost::kMasterLevel;
using testhost::kNoteOff;
using testhost::kNoteOn;

constexpr uint8_t kKick = kFirstNote;  // holder 0
constexpr uint8_t kSnare = kFirstNote + 2;

std::vector<float> Ramp(size_t frames) {
  std::vector<float> samples(frames);
  for (size_t i = 0; i < frames; ++i) samples[i] = 0.001f * static_cast<float>(i + 1);
  return samples;
}

class Voice : public testhost::EffectFixture {
 protected:
  void SetUp() override {
    EffectFixture::SetUp();
    engine().setSyncMode(SyncMode::Midi);
  }
};

TEST_F(Voice, MonoSampleFromNoteOnWithGainsAndVelocity) {
  testhost::InstallSamples(kit(), kKick, Ramp(100));
  kit().holder(kKick).setPan(0.2f);  // left 1.0, right 0.4
  host->sendMidi({{10, kNoteOn, kKick, 100}});
  const testhost::Block block = host->process(64);
  for (int frame = 0; frame < 10; ++frame) EXPECT_EQ(block.at(0, frame), 0.0f);
  for (int frame = 10; frame < 64; ++frame) {
    const float sample = 0.001f * static_cast<float>(frame - 10 + 1);
    EXPECT_FLOAT_EQ(block.at(0, frame), sample * 1.0f * (100.0f / 127.0f) * kMasterLevel) << frame;
    EXPECT_FLOAT_EQ(block.at(1, frame), sample * 0.4f * (100.0f / 127.0f) * kMasterLevel) << frame;
  }
  for (int output = 2; output < 24; ++output) EXPECT_EQ(block.at(output, 20), 0.0f);
}

// Volume and pan as the two sides' gains: the centre zone plays both sides at full volume.
TEST_F(Voice, PanLawKeepsTheCentreAtFullVolume) {
  testhost::InstallSamples(kit(), kKick, {1.0f});
  const struct {
    float pan, volume, left, right;
  } cases[] = {{0.45f, 1.0f, 1.0f, 1.0f}, {0.55f, 1.0f, 1.0f, 1.0f}, {0.5f, 1.0f, 1.0f, 1.0f},
               {1.0f, 1.0f, 0.0f, 1.0f},  {0.0f, 1.0f, 1.0f, 0.0f},  {0.8f, 0.5f, 0.2f, 0.5f}};
  for (const auto& c : cases) {
    kit().holder(kKick).setPan(c.pan);
    kit().holder(kKick).setVolume(c.volume);
    host->sendMidi({{0, kNoteOn, kKick, 127}});
    const testhost::Block block = host->process(1);
    EXPECT_FLOAT_EQ(block.at(0, 0), c.left * kMasterLevel) << c.pan;
    EXPECT_FLOAT_EQ(block.at(1, 0), c.right * kMasterLevel) << c.pan;
  }
}

TEST_F(Voice, PitchRepeatsOrSkipsFrames) {
  std::vector<float> indices(64);
  std::iota(indices.begin(), indices.end(), 0.0f);
  indices[0] = 100.0f;  // frame 0 must sound too
  testhost::InstallSamples(kit(), kKick, indices);
  auto played = [&](int8_t pitch) {
    kit().holder(kKick).setPitch(pitch);
    host->sendMidi({{0, kNoteOn, kKick, 127}});
    const testhost::Block block = host->process(8);
    std::vector<float> frames;
    for (int frame = 0; frame < 8; ++frame) frames.push_back(block.at(0, frame) / kMasterLevel);
    return frames;
  };
  EXPECT_EQ(played(-12), (std::vector<float>{100, 1, 1, 2, 2, 3, 3, 4}));
  EXPECT_EQ(played(12), (std::vector<float>{100, 1, 3, 4, 6, 7, 9, 10}));
  EXPECT_EQ(played(0), (std::vector<float>{100, 1, 2, 3, 4, 5, 6, 7}));
}

TEST_F(Voice, NoteOffOrVelocityZeroFadesOverHundredFramesAndEventsAtOneOffsetRunNewestFirst) {
  testhost::InstallSamples(kit(), kKick, std::vector<float>(1000, 1.0f));
  // A note-off whatever its velocity, and a note-on of velocity 0.
  for (const uint8_t release : {kNoteOff, kNoteOn}) {
    SCOPED_TRACE(static_cast<int>(release));
    host->sendMidi(
        {{0, kNoteOn, kKick, 127}, {10, release, kKick, static_cast<uint8_t>(release == kNoteOff ? 64 : 0)}});
    const testhost::Block block = host->process(200);
    EXPECT_FLOAT_EQ(block.at(0, 9), kMasterLevel);
    EXPECT_FLOAT_EQ(block.at(0, 10), 0.99f * kMasterLevel);
    EXPECT_FLOAT_EQ(block.at(0, 11), 0.98f * kMasterLevel);
    EXPECT_GT(block.at(0, 109), 0.0f) << "just above zero after 100 steps";
    EXPECT_EQ(block.at(0, 110), 0.0f) << "the voice ends in the 101st frame";
    EXPECT_EQ(block.at(0, 199), 0.0f);
    host->sendMidi({{0, kNoteOn, kKick, 127}});
    EXPECT_FLOAT_EQ(host->process(4).at(0, 0), kMasterLevel);
  }
  // Events at one offset run newest first: the note-off queued last runs first, and the note-on
  // plays on at full gain.
  host->sendMidi({{5, kNoteOn, kKick, 127}, {5, kNoteOff, kKick, 0}});
  EXPECT_FLOAT_EQ(host->process(16).at(0, 15), kMasterLevel);
  // The other way round the release starts in the same frame.
  host->sendMidi({{5, kNoteOff, kKick, 0}, {5, kNoteOn, kKick, 127}});
  EXPECT_FLOAT_EQ(host->process(16).at(0, 5), 0.99f * kMasterLevel);
}

// Holders 0 and 1 choke each other; holder 2 is of another group, holder 3 of none.
TEST_F(Voice, ATriggerReleasesTheOtherSoundingHoldersOfItsChokeGroupAtItsFrame) {
  instrument::Instrument& rules = vst().instrument();
  for (const auto& [holder, group] : {std::pair{0, 1}, {1, 1}, {2, 2}, {3, 0}}) {
    testhost::InstallSamples(kit(), static_cast<uint8_t>(kKick + holder), std::vector<float>(1000, 1.0f));
    rules.setChokeGroup(holder, group);
  }
  host->sendMidi({{0, kNoteOn, kKick, 127},
                  {0, kNoteOn, kKick + 2, 127},
                  {0, kNoteOn, kKick + 3, 127},
                  {10, kNoteOn, kKick + 1, 127},
                  {20, kNoteOn, kKick + 3, 127}});
  const testhost::Block block = host->process(200);
  EXPECT_FLOAT_EQ(block.at(0, 9), kMasterLevel);
  EXPECT_FLOAT_EQ(block.at(0, 10), 0.99f * kMasterLevel) << "released at the other's trigger frame";
  EXPECT_EQ(block.at(0, 110), 0.0f);
  EXPECT_FLOAT_EQ(block.at(2, 199), kMasterLevel);
  EXPECT_FLOAT_EQ(block.at(4, 199), kMasterLevel) << "another group plays on";
  EXPECT_FLOAT_EQ(block.at(6, 199), kMasterLevel) << "no group: plays on, and chokes none";
  host->sendMidi({{5, kNoteOn, kKick, 127}});
  const testhost::Block again = host->process(200);
  EXPECT_FLOAT_EQ(again.at(0, 5), kMasterLevel);
  EXPECT_FLOAT_EQ(again.at(2, 5), 0.99f * kMasterLevel);
  // A muted holder, by its mute or by another's solo, cuts nothing off.
  for (const bool solo : {false, true}) {
    rules.setMute(0, !solo);
    rules.setSolo(1, solo);
    host->sendMidi({{0, kNoteOn, kKick + 1, 127}, {10, kNoteOn, kKick, 127}});
    EXPECT_FLOAT_EQ(host->process(200).at(2, 199), kMasterLevel) << solo;
  }
}

TEST_F(Voice, MutedHolderPausesAndResumesWhereItWas_ItsPreviewWaits) {
  testhost::InstallSamples(kit(), kKick, Ramp(100));
  host->sendMidi({{0, kNoteOn, kKick, 127}});
  host->process(4);  // frames 0..3 played
  kit().holder(kKick).setMuteState(engine::kMuted);
  EXPECT_EQ(host->process(8).at(0, 7), 0.0f);
  kit().holder(kKick).setMuteState(engine::kNotMuted);
  EXPECT_FLOAT_EQ(host->process(1).at(0, 0), 0.005f * kMasterLevel);
  kit().holder(kKick).setMuteState(engine::kMutedBySolo);
  EXPECT_EQ(host->process(1).at(0, 0), 0.0f);
  // A preview of a muted holder is silent too, and waits.
  kit().holder(kKick).setMuteState(engine::kMuted);
  kit().startPreview(kKick);
  EXPECT_EQ(host->process(20).at(0, 0), 0.0f);
  EXPECT_EQ(kit().holder(kKick).previewPosition(), 0u);
  EXPECT_TRUE(kit().holder(kKick).isPreviewPlaying());
}

TEST_F(Voice, LengthFractionStopsTheVoiceInsideTheSampleButNotThePreview) {
  testhost::InstallSamples(kit(), kKick, std::vector<float>(1001, 1.0f));
  EXPECT_EQ(kit().holder(kKick).end(), 1001u) << "a load plays the whole sample";
  for (const auto& [fraction, end] : {std::pair{-3.0f, 0u}, {7.0f, 1001u}, {0.5f, 500u}}) {
    kit().holder(kKick).setLengthFraction(fraction);
    EXPECT_EQ(kit().holder(kKick).end(), end) << fraction;
  }
  host->sendMidi({{0, kNoteOn, kKick, 127}});
  const testhost::Block voice = host->process(600);
  EXPECT_NE(voice.at(0, 499), 0.0f);
  EXPECT_EQ(voice.at(0, 500), 0.0f);
  kit().startPreview(kKick);
  const testhost::Block preview = host->process(1100);
  EXPECT_NE(preview.at(0, 1000), 0.0f);
  EXPECT_EQ(preview.at(0, 1001), 0.0f);
}

TEST_F(Voice, PreviewOfAStereoSamplePlaysEveryFrameOnceAndIgnoresVelocityAndPitch) {
  testhost::InstallSamples(kit(), kSnare, {0.1f, -0.1f, 0.2f, -0.2f, 0.3f, -0.3f}, 2);
  kit().holder(kSnare).setPitch(12);
  kit().startPreview(kSnare);
  const testhost::Block block = host->process(6);
  const int left = 4;
  const int right = 5;
  EXPECT_FLOAT_EQ(block.at(left, 0), 0.1f * kMasterLevel);
  EXPECT_FLOAT_EQ(block.at(right, 0), -0.1f * kMasterLevel);
  EXPECT_FLOAT_EQ(block.at(left, 1), 0.2f * kMasterLevel);
  EXPECT_FLOAT_EQ(block.at(right, 2), -0.3f * kMasterLevel) << "the last frame is not cut";
  EXPECT_FALSE(kit().holder(kSnare).isPreviewPlaying());
  EXPECT_EQ(block.at(left, 3), 0.0f);
  // Of more than two channels a voice plays the first two.
  testhost::InstallSamples(kit(), kKick, {0.5f, -0.5f, 0.9f, 0.9f}, 4);
  host->sendMidi({{0, kNoteOn, kKick, 127}});
  const testhost::Block four = host->process(2);
  EXPECT_FLOAT_EQ(four.at(0, 0), 0.5f * kMasterLevel);
  EXPECT_FLOAT_EQ(four.at(1, 0), -0.5f * kMasterLevel);
  EXPECT_EQ(four.at(0, 1), 0.0f);
}

TEST_F(Voice, DownmixSumsEveryHolderOntoTheFirstPair) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const auto note = static_cast<uint8_t>(kFirstNote + holder);
    testhost::InstallSamples(kit(), note, {0.01f * static_cast<float>(holder + 1), 0.5f}, 2);
    host->sendMidi({{0, kNoteOn, note, 127}});
  }
  engine().kitPlayer().setDownmix(true);
  const testhost::Block block = host->process(4);
  EXPECT_FLOAT_EQ(block.at(0, 0), 0.78f * kMasterLevel);  // 0.01 + 0.02 + ... + 0.12
  EXPECT_FLOAT_EQ(block.at(1, 0), 6.0f * kMasterLevel);
  for (int output = 2; output < 24; ++output) {
    for (int frame = 0; frame < 4; ++frame) EXPECT_EQ(block.at(output, frame), 0.0f);
  }
}

TEST_F(Voice, AnEventBeyondTheBlockPlaysAtItsLastFrame_NotesOutsideTheKitChangeNothing) {
  host->sendMidi({{0, kNoteOn, 35, 127}, {0, kNoteOn, 127, 127}, {0, kNoteOff, 0, 0}});
  // Every output gets every frame of a block of any length, silent here.
  for (const auto& output : host->process(37).outputs) EXPECT_EQ(output, std::vector<float>(37, 0.0f));
  testhost::InstallSamples(kit(), kKick, std::vector<float>(100, 1.0f));
  testhost::InstallSamples(kit(), kSnare, std::vector<float>(100, 1.0f));
  host->sendMidi({{5000, kNoteOn, kKick, 127}, {20, kNoteOn, kSnare, 127}});
  const testhost::Block block = host->process(32);
  EXPECT_NE(block.at(4, 20), 0.0f) << "the late event holds nothing back";
  EXPECT_EQ(block.at(0, 30), 0.0f);
  EXPECT_NE(block.at(0, 31), 0.0f);
}

// A full queue of a block's events drops the newest and keeps working.
TEST(NoteEventQueue, AFullQueueDropsTheNewestAndKeepsWorking) {
  engine::NoteEventQueue queue;
  for (size_t i = 0; i < engine::kNoteQueueCapacity; ++i) {
    ASSERT_TRUE(queue.insert({36, 1, static_cast<uint16_t>(i % 1000)}));
  }
  EXPECT_FALSE(queue.insert({47, 1, 0}));
  EXPECT_EQ(queue.droppedCount(), 1u);
  EXPECT_EQ(queue.front().note, 36);
  // Taking from the front and adding at the back reuses the room.
  for (int round = 0; round < 3 * static_cast<int>(engine::kNoteQueueCapacity); ++round) {
    queue.popFront();
    ASSERT_TRUE(queue.insert({40, 1, 2000}));
  }
  EXPECT_EQ(queue.size(), engine::kNoteQueueCapacity);
  for (uint16_t previous = 0; !queue.empty(); queue.popFront()) {
    EXPECT_GE(queue.front().frameOffset, previous);
    previous = queue.front().frameOffset;
  }
}

}  // namespace
