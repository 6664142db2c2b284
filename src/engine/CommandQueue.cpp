#include "engine/CommandQueue.h"

#include <chrono>
#include <thread>

namespace engine {
namespace {

// Longer than any block a host renders, short enough not to freeze the editor.
constexpr std::chrono::milliseconds kRoomWaitBound{250};

}  // namespace

bool CommandQueue::push(EngineCommand command) {
  const std::lock_guard<std::mutex> turn(producers_);
  const size_t tail = tail_.load(std::memory_order_relaxed);
  const auto full = [&] { return tail - head_.load(std::memory_order_acquire) == kCapacity; };
  if (full() && !stalled_) {
    const auto deadline = std::chrono::steady_clock::now() + kRoomWaitBound;
    while (full() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  stalled_ = full();
  if (stalled_) {
    dropped_.fetch_add(1, std::memory_order_relaxed);
    return false;
  }
  commands_[tail % kCapacity] = command;
  tail_.store(tail + 1, std::memory_order_release);
  return true;
}

}  // namespace engine
