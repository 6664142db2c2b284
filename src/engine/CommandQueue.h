// Changes of voice and clock state, handed from the user-interface thread (the editor, and the
// host's calls outside the audio thread) to the audio thread. The audio thread renders a block
// stretch by stretch and writes each voice's position and countdown back at a stretch's end,
// so a change written directly into that state while a block runs could be overwritten and
// lost. Instead such a change is queued here, and the audio thread carries it out at the
// start of its next block: a change made while audio runs takes effect at the next block.
//
// Fixed capacity, no allocation. The audio thread is the only consumer and never waits;
// producers take turns through a mutex, since a host may call from a thread other than the
// editor's.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

namespace engine {

struct EngineCommand {
  enum Kind : uint8_t {
    StartPreview,   // the holder of note `value` plays its preview from the first frame
    SilenceHolder,  // the holder of note `value` forgets its voice and preview
    SilenceVoices,  // every voice back to untriggered, full velocity, no release
    Rewind,         // the clock back to the bar's first step
  };
  Kind kind;
  uint8_t value;
};

class CommandQueue {
 public:
  static constexpr size_t kCapacity = 4096;

  // Producers. A full queue is waited on while the audio thread empties it; should the audio
  // thread not run (a host that stopped rendering), the wait ends after a bound, and until it
  // runs again further changes are dropped at once and counted. False when dropped.
  bool push(EngineCommand command);

  // Audio thread: carries out every queued command in order.
  template <typename CarryOut>
  void drain(CarryOut&& carryOut) noexcept {
    size_t head = head_.load(std::memory_order_relaxed);
    const size_t tail = tail_.load(std::memory_order_acquire);
    for (; head != tail; ++head) carryOut(commands_[head % kCapacity]);
    head_.store(head, std::memory_order_release);
  }

  uint64_t droppedCount() const { return dropped_.load(std::memory_order_relaxed); }

 private:
  std::mutex producers_;
  bool stalled_ = false;  // the last wait for room ran out; guarded by producers_
  std::array<EngineCommand, kCapacity> commands_{};
  std::atomic<size_t> head_{0};
  std::atomic<size_t> tail_{0};
  std::atomic<uint64_t> dropped_{0};
};

}  // namespace engine
