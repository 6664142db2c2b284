// Lets the user-interface thread release a replaced sample array only once the audio
// thread can no longer be reading it, without the audio thread ever waiting.
//
// The audio thread brackets every block with enter() and leave(), which step a counter
// (odd while a block runs). A writer first publishes the new array, then calls retire()
// with the old one: if a block was running at that moment it waits until that block has
// ended; any later block can only see the new array.
#pragma once

#include <atomic>
#include <cstdint>

#include "engine/SampleBuffer.h"

namespace engine {

class BlockEpoch {
 public:
  // Audio thread.
  void enter() noexcept { counter_.fetch_add(1, std::memory_order_seq_cst); }
  void leave() noexcept { counter_.fetch_add(1, std::memory_order_seq_cst); }

  // User-interface thread, after the array was unpublished. Releases it once no block can
  // read it; should the audio thread stall inside one block for longer than the bounded
  // wait, the array is kept rather than freed under the reader.
  void retire(SampleBuffer* unpublished) const;

 private:
  std::atomic<uint64_t> counter_{0};
};

// RAII bracket for one audio block.
class BlockScope {
 public:
  explicit BlockScope(BlockEpoch& epoch) noexcept : epoch_(epoch) { epoch_.enter(); }
  ~BlockScope() { epoch_.leave(); }
  BlockScope(const BlockScope&) = delete;
  BlockScope& operator=(const BlockScope&) = delete;

 private:
  BlockEpoch& epoch_;
};

}  // namespace engine
