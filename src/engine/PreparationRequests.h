// Asks for the holders' samples to be prepared anew (Tuned sound): a count that every change a
// prepared sample depends on steps (a sample, a pitch, the sound mode, the session's rate), and
// that the preparing thread looks at every few milliseconds. Asking is one atomic step, no lock,
// no allocation, no system call, so any thread may ask, the audio thread (a host's automation)
// included; asking again before the preparing thread looked merges with the request before, so
// a sweep of changes ends in one preparation of its last value.
#pragma once

#include <atomic>
#include <cstdint>

namespace engine {

class PreparationRequests {
 public:
  void request() noexcept { count_.fetch_add(1, std::memory_order_acq_rel); }
  uint32_t count() const noexcept { return count_.load(std::memory_order_acquire); }

 private:
  std::atomic<uint32_t> count_{0};
  static_assert(std::atomic<uint32_t>::is_always_lock_free);
};

}  // namespace engine
