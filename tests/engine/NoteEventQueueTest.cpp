// The order of events among equal offsets is checked through a host (VoiceTest); here the
// queue at its capacity.
#include "engine/NoteEventQueue.h"

#include <gtest/gtest.h>

namespace {

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
