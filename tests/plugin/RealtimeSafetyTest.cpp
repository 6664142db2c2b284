// The audio thread's calls allocate nothing, with every voice sounding and a dense pattern playing.
#include <gtest/gtest.h>

#include <vector>

#include "engine/Limits.h"
#include "support/AllocationCounter.h"
#include "support/EffectFixture.h"

namespace {

using testhost::kControlChange;
using testhost::kNoteOn;

class RealtimeSafety : public testhost::EffectFixture {};

TEST_F(RealtimeSafety, ProcessEventsAndProcessReplacingAllocateNothing) {
  for (int holder = 0; holder < engine::kHolderCount; ++holder) {
    testhost::InstallSamples(kit(), static_cast<uint8_t>(engine::kFirstNote + holder), std::vector<float>(96000, 0.5f),
                             holder % 2 + 1);
    kit().holder(static_cast<uint8_t>(engine::kFirstNote + holder)).setSwing(holder % 3 == 0);
  }
  for (int pattern : {0, 1}) {
    patterns().setResolution(pattern, 128);
    for (int step = 0; step < 128; ++step) {
      for (int holder = 0; holder < engine::kHolderCount; ++holder) patterns().setCell(1, pattern, step, holder);
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

  testhost::AllocationCounter counter;
  for (int round = 0; round < 200; ++round) {
    host->send(batch);
    host->processInto(block, 512);
    host->advanceTransport(512);
    if (round == 100) engine().setSyncMode(engine::SyncMode::Run);
  }
  if (testhost::kAllocationsCounted) {
    EXPECT_EQ(counter.allocations(), 0u);
  }
  EXPECT_NE(block.at(0, 100), 0.0f) << "the voices were sounding";
  EXPECT_FALSE(host->automations.empty());
}

}  // namespace
