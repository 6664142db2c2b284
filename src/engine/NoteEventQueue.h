// The pending note events of a block, kept in ascending frame offset. Fixed capacity:
// inserting never allocates; when full, the newest event is dropped and counted.
// Audio thread only.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "engine/Limits.h"
#include "engine/NoteEvent.h"

namespace engine {

class NoteEventQueue {
 public:
  // Puts the event before the first queued one whose offset is not smaller, so among
  // equal offsets the newest comes first. False when the queue was full.
  bool insert(NoteEvent event) noexcept;

  bool empty() const noexcept { return count_ == 0; }
  size_t size() const noexcept { return count_; }
  const NoteEvent& front() const noexcept { return events_[head_]; }
  void popFront() noexcept;
  void clear() noexcept { head_ = count_ = 0; }
  uint64_t droppedCount() const noexcept { return dropped_; }

 private:
  std::array<NoteEvent, kNoteQueueCapacity> events_{};
  size_t head_ = 0;
  size_t count_ = 0;
  uint64_t dropped_ = 0;
};

}  // namespace engine
