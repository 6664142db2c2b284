#include "engine/BlockEpoch.h"

#include <chrono>
#include <thread>

#include "platform/BoundedLock.h"

namespace engine {

void BlockEpoch::retire(SampleBuffer* unpublished) const {
  if (unpublished == nullptr) return;
  const uint64_t seen = counter_.load(std::memory_order_seq_cst);
  if ((seen & 1U) != 0) {
    const auto deadline = std::chrono::steady_clock::now() + platform::kMutexWaitBound;
    while (counter_.load(std::memory_order_seq_cst) == seen) {
      if (std::chrono::steady_clock::now() > deadline) return;  // keep it: a reader may still hold it
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
  }
  delete unpublished;
}

}  // namespace engine
