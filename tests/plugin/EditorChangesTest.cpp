// Changes the editor makes to voices and to the clock reach the audio thread through its
// command queue: they take effect at the next block, and none is lost while blocks render.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <random>
#include <thread>
#include <vector>

#include "engine/Limits.h"
#include "instrument/Parameters.h"
#include "support/EffectFixture.h"

namespace {

using engine::kFirstNote;
using engine::SyncMode;

constexpr uint8_t kKick = kFirstNote;
constexpr uint8_t kEmpty = kFirstNote + 11;  // never given a sample

class EditorChanges : public testhost::EffectFixture {};

// The clock's requests are checked after racing edits (below).
TEST_F(EditorChanges, VoiceChangesTakeEffectAtTheNextBlock) {
  testhost::InstallSamples(kit(), kKick, std::vector<float>(1000, 0.5f));
  for (auto [pitch, countdown] : {std::pair{-12, 1}, {7, 6}, {0, 0}, {13, 0}, {-13, 0}, {1, 12}}) {
    kit().holder(kEmpty).setPitch(static_cast<int8_t>(pitch));
    EXPECT_EQ(kit().holder(kEmpty).pitch(), pitch) << "the setting itself is stored at once";
    host->process(1);
    EXPECT_EQ(kit().holder(kEmpty).pitchCountdown(), countdown) << pitch;
  }
  kit().startPreview(kKick);
  EXPECT_FALSE(kit().holder(kKick).isPreviewPlaying()) << "not before the audio thread's next block";
  const testhost::Block block = host->process(4);
  EXPECT_EQ(kit().holder(kKick).previewPosition(), 4u);
  EXPECT_EQ(block.at(0, 0), 0.5f * testhost::kMasterLevel);
}

// An effect playing, with the audio thread's blocks of 256 frames rendered by the test itself.
class EditorChangesWhileRendering : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host.createInProcess());
    host.start(48000.0f, 256);
    host.setTransport(true, 0.0);
  }
  // The audio thread renders block after block, each after beforeBlock(its number), while this
  // thread makes 20 000 edits, yielding now and then so that the two interleave.
  void editWhileRendering(const std::function<void(int)>& beforeBlock, const std::function<void(int)>& edit) {
    std::atomic<bool> editing{true};
    std::thread audio([&] {
      testhost::Block block(engine::kOutputCount, 256);
      for (int round = 0; editing; ++round) {
        beforeBlock(round);
        host.processInto(block, 256);
        host.advanceTransport(256);
      }
    });
    for (int change = 0; change < 20000; ++change) {
      edit(change);
      if (change % 64 == 0) std::this_thread::yield();
    }
    editing = false;
    audio.join();
  }
  testhost::TestHost host;
};

constexpr SyncMode kModes[] = {SyncMode::Hsync, SyncMode::Run, SyncMode::Midi, SyncMode::Stop};

// The editor changes pitch, preview, pattern, resolution, mode, the clock, mutes and solos as fast
// as it can while the audio thread renders in Tuned sound, the host changes the sample rate, and
// the audio thread plays a host's automation between blocks: one holder's pitch swept, and
// volumes, pans, mutes and solos (run under the thread sanitizer). Afterwards every last change
// holds, the timing too: it counts in the resolution set last; each holder's prepared copy is made
// for its last pitch and the last rate; and the mutes and solos are as the rules leave them, never
// a mix of two rules run at once.
TEST_F(EditorChangesWhileRendering, NoChangeIsLostAndNothingRaces) {
  instrument::Instrument& instrument = host.object<plugin::Vst>().instrument();
  engine::DrumEngine& engine = instrument.engine();
  instrument.setSoundMode(engine::SoundMode::Tuned);
  constexpr int kSampleFrames = 4000;
  constexpr int kAutomated = 5;  // the holder whose pitch the audio thread sweeps
  for (int holder = 0; holder < 6; ++holder) {
    testhost::InstallSamples(engine.kit(), static_cast<uint8_t>(kFirstNote + holder),
                             std::vector<float>(2 * kSampleFrames, 0.25f), 2, 44100);
    for (int step = 0; step < 16; step += 2) engine.patterns().setCell(1, holder % 3, step, holder);
  }

  vst::AEffect* effect = host.effect();
  std::mt19937 automation(11);
  const auto automate = [&](int round) {
    using instrument::ParameterKind;
    constexpr ParameterKind kAutomatedKinds[] = {ParameterKind::Volume, ParameterKind::Pan, ParameterKind::Mute,
                                                 ParameterKind::Solo};
    instrument.setPitch(kAutomated, round % 25 - 12);
    const auto holder = static_cast<int>(automation() % engine::kHolderCount);
    effect->setParameter(effect, instrument::ParameterIndex(kAutomatedKinds[automation() % 4], holder),
                         static_cast<float>(automation() % 5) / 4.0f);
  };
  constexpr float kRates[] = {44100.0f, 48000.0f, 96000.0f};
  float lastRate = 48000.0f;
  std::mt19937 random(7);
  std::vector<int> lastPitch(engine::kHolderCount, 0);
  int lastPattern = 0;
  std::vector<int32_t> lastResolution(3, engine::kDefaultResolution);
  // The editor's edits, each given a holder chosen at random and its own number.
  const std::function<void(int, int)> edits[] = {
      [&](int holder, int) {
        if (holder == kAutomated) return;
        lastPitch[holder] = static_cast<int>(random() % 25) - 12;
        instrument.setPitch(holder, lastPitch[holder]);
      },
      [&](int holder, int) { engine.kit().startPreview(static_cast<uint8_t>(kFirstNote + holder)); },
      [&](int, int) {
        lastPattern = static_cast<int>(random() % 3);
        engine.clock().selectPattern(lastPattern);
      },
      [&](int, int) { engine.setSyncMode(kModes[random() % 4]); },
      [&](int, int) {
        const int pattern = static_cast<int>(random() % 3);
        lastResolution[pattern] = 16 << (random() % 4);
        engine.patterns().setResolution(pattern, lastResolution[pattern]);
      },
      [&](int, int change) {
        if (change % 50 != 0) return;  // a new rate prepares every holder again: now and then only
        lastRate = kRates[random() % 3];
        host.dispatch(vst::effSetSampleRate, 0, 0, nullptr, lastRate);
      },
      [&](int holder, int) { instrument.setSolo(holder, random() % 2 == 0); },
      [&](int holder, int) { instrument.setMute(holder, random() % 2 == 0); },
      [&](int, int) { engine.clock().rewind(); },
  };
  editWhileRendering(automate, [&](int change) {
    const int holder = static_cast<int>(random() % engine::kHolderCount);
    edits[random() % std::size(edits)](holder, change);
  });
  instrument.setPitch(kAutomated, 3);

  // The queue is emptied by one more block, in Stop mode so that the clock stays where it is put.
  engine.setSyncMode(SyncMode::Stop);
  engine.clock().rewind();
  host.process(1);
  EXPECT_EQ(engine.kit().commands().droppedCount(), 0u);
  EXPECT_EQ(engine.clock().currentPattern(), lastPattern);
  EXPECT_EQ(engine.clock().barPosition(), 0);
  // One beat into the bar, in Hsync: the step is the resolution's first of the second beat.
  engine.setSyncMode(SyncMode::Hsync);
  host.setTransport(true, 1.0);
  host.process(1);
  EXPECT_EQ(engine.clock().currentStep(), lastResolution[lastPattern] / 4);
  const engine::SampleHolder& empty = engine.kit().holder(kEmpty);
  const int magnitude = std::abs(lastPitch[kEmpty - kFirstNote]);
  EXPECT_EQ(empty.pitchCountdown(), magnitude == 0 ? 0 : 13 - magnitude) << "an untriggered holder keeps its countdown";

  lastPitch[kAutomated] = 3;
  instrument.waitUntilPrepared();
  for (int holder = 0; holder < 6; ++holder) {
    const engine::SampleBuffer* prepared = engine.kit().holder(static_cast<uint8_t>(kFirstNote + holder)).prepared();
    if (lastRate == 44100.0f && lastPitch[holder] == 0) {
      EXPECT_EQ(prepared, nullptr) << "the sample itself plays";
      continue;
    }
    ASSERT_NE(prepared, nullptr);
    const double frames = std::ceil(kSampleFrames * lastRate / (44100.0 * std::exp2(lastPitch[holder] / 12.0)));
    EXPECT_EQ(prepared->frames, static_cast<uint32_t>(frames)) << "holder " << holder;
    EXPECT_EQ(prepared->sampleRate, static_cast<int32_t>(lastRate));
  }

  bool anySolo = false;
  for (int holder = 0; holder < engine::kHolderCount; ++holder) anySolo = anySolo || instrument.soloed(holder);
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    const uint32_t state = engine.kit().holder(static_cast<uint8_t>(kFirstNote + holder)).muteState();
    if (instrument.soloed(holder)) {
      EXPECT_EQ(state, engine::kNotMuted) << holder;
    } else if (anySolo) {
      EXPECT_NE(state, engine::kNotMuted) << holder << " plays beside a solo";
    }
  }
}

// The pattern played and the mode the last block ran in have the audio thread as their one
// writer: the editor's selections, resets and the load's last mode are requests it carries out
// at its next block, while pattern notes switch the pattern inside blocks (run under the thread
// sanitizer). A request not yet carried out is what the editor reads back.
TEST_F(EditorChangesWhileRendering, PatternAndLastModeRequestsMeetPatternNotesWithoutRacing) {
  instrument::Instrument& instrument = host.object<plugin::Vst>().instrument();
  engine::DrumEngine& engine = instrument.engine();
  engine.setSyncMode(SyncMode::Run);

  std::vector<std::unique_ptr<testhost::MidiBatch>> notes;
  for (int pattern = 0; pattern < 4; ++pattern) {
    notes.push_back(std::make_unique<testhost::MidiBatch>(std::vector<testhost::MidiMessage>{
        {pattern * 50, 0x90, static_cast<uint8_t>(engine::kFirstPatternNote + 20 + pattern), 100}}));
  }
  std::mt19937 random(11);
  const std::function<void()> edits[] = {
      [&] { engine.clock().selectPattern(static_cast<int>(random() % 20)); },
      [&] { engine.setLastMode(kModes[random() % 4]); },
      [&] { engine.setSyncMode(kModes[random() % 4]); },
      [&] { instrument.pressStop(); },
      [&] { EXPECT_LT(engine.clock().currentPattern(), engine::kPatternCount); },
  };
  editWhileRendering([&](int round) { host.send(*notes[static_cast<size_t>(round) % notes.size()]); },
                     [&](int) { edits[random() % std::size(edits)](); });

  engine.clock().selectPattern(7);
  engine.setSyncMode(SyncMode::Stop);
  engine.setLastMode(SyncMode::Run);
  EXPECT_EQ(engine.clock().currentPattern(), 7) << "the selection, before the audio thread takes it up";
  EXPECT_EQ(engine.lastMode(), SyncMode::Run);
  EXPECT_TRUE(instrument.pressStop()) << "Stop pressed after Run rewinds";
  host.process(1);
  EXPECT_EQ(engine.clock().currentPattern(), 7);
  EXPECT_EQ(engine.lastMode(), SyncMode::Run) << "a block in Stop keeps the last mode";
  EXPECT_EQ(engine.clock().barPosition(), 0);
  engine.setSyncMode(SyncMode::Midi);
  host.process(1);
  EXPECT_EQ(engine.lastMode(), SyncMode::Midi);
  EXPECT_EQ(engine.kit().commands().droppedCount(), 0u);
}

}  // namespace
