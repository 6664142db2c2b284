#include "engine/NoteEventQueue.h"

#include <algorithm>

namespace engine {

bool NoteEventQueue::insert(NoteEvent event) noexcept {
  if (count_ == events_.size()) {
    ++dropped_;
    return false;
  }
  if (head_ + count_ == events_.size()) {
    std::copy(events_.begin() + static_cast<std::ptrdiff_t>(head_), events_.end(), events_.begin());
    head_ = 0;
  }
  const auto first = events_.begin() + static_cast<std::ptrdiff_t>(head_);
  const auto last = first + static_cast<std::ptrdiff_t>(count_);
  const auto position = std::lower_bound(first, last, event, [](const NoteEvent& queued, const NoteEvent& added) {
    return queued.frameOffset < added.frameOffset;
  });
  std::copy_backward(position, last, last + 1);
  *position = event;
  ++count_;
  return true;
}

void NoteEventQueue::popFront() noexcept {
  if (count_ == 0) return;
  ++head_;
  if (--count_ == 0) head_ = 0;
}

}  // namespace engine
