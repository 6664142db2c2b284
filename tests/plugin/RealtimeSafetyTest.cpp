// The audio thread's calls allocate nothing, with every voice sounding and a dense pattern
// playing at many velocities and with choke groups, in Classic and in Tuned sound; nor does a
// pitch set from the audio thread (a host's automation), which only asks the preparing thread
// for work.
#include <gtest/gtest.h>

#include <vector>

#include "engine/Limits.h"
#include "instrument/Parameters.h"
#include "support/AllocationCounter.h"
#include "support/EffectFixture.h"

namespace {

using testhost::kControlChange;
using testhost::kNoteOn;

class RealtimeSafety : public testhost::EffectFixture {};

// A host plays its automation on the audio thread, between blocks.
TEST_F(RealtimeSafety, ProcessEventsProcessReplacingAndSetParameterAllocateNothing) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    testhost::InstallSamples(kit(), static_cast<uint8_t>(engine::kFirstNote + holder), std::vector<float>(96000, 0.5f),
                             holder % 2 + 1);
    kit().holder(static_cast<uint8_t>(engine::kFirstNote + holder)).setSwing(holder % 3 == 0);
    vst().instrument().setChokeGroup(holder, holder % 3);
  }
  for (int pattern : {0, 1}) {
    patterns().setResolution(pattern, 128);
    for (int step = 0; step < 128; ++step) {
      for (int holder = 0; holder < engine::kHolderCount; ++holder) {
        patterns().setCell(1, pattern, step, holder);
        patterns().setStepVelocity(step + holder, pattern, step, holder);
      }
    }
  }
  host->setTransport(true, 0.0);
  std::vector<testhost::MidiMessage> messages;
  for (int32_t offset = 0; offset < 512; offset += 8) {
    messages.push_back({offset, kNoteOn, static_cast<uint8_t>(engine::kFirstPatternNote + (offset / 8) % 2), 100});
    messages.push_back({offset, kControlChange, 7, 64});
  }
  testhost::MidiBatch batch(messages);
  testhost::Block block(24, 512);

  vst::AEffect* effect = host->effect();
  instrument::Instrument& instrument = vst().instrument();
  for (const engine::SoundMode mode : {engine::SoundMode::Classic, engine::SoundMode::Tuned}) {
    SCOPED_TRACE(static_cast<int>(mode));
    engine().setSyncMode(engine::SyncMode::Hsync);
    instrument.setSoundMode(mode);
    for (int holder = 0; holder < engine::kHolderCount; ++holder) instrument.setPitch(holder, holder - 6);
    instrument.waitUntilPrepared();
    bool sounded = false;
    testhost::AllocationCounter counter;
    for (int round = 0; round < 200; ++round) {
      host->send(batch);
      // The pitch it has: the preparing thread wakes and finds nothing to do.
      instrument.setPitch(round % engine::kHolderCount, round % engine::kHolderCount - 6);
      // Every other parameter as a host's automation sets it between blocks.
      for (int32_t index = round % 7; index < effect->numParams; index += 7) {
        if (instrument::ParameterAt(index)->kind == instrument::ParameterKind::Pitch) continue;
        effect->setParameter(effect, index, static_cast<float>(round % 5) / 4.0f);
      }
      host->processInto(block, 512);
      sounded = sounded || block.at(0, 100) != 0.0f;
      host->advanceTransport(512);
      if (round == 100) engine().setSyncMode(engine::SyncMode::Run);
    }
    if (testhost::kAllocationsCounted) {
      EXPECT_EQ(counter.allocations(), 0u);
    }
    EXPECT_TRUE(sounded) << "the voices were sounding";
  }
  EXPECT_GT(engine().editorState().parameterChanges, 0u) << "the parameters were set";
}

}  // namespace
