// A small value (eight bits) that the user-interface thread hands to the audio thread: the
// pattern to play, the mode a reset or a load says the last block ran in. The user-interface
// thread is the only writer of the request and the audio thread the only writer of the value
// it carries out, so neither overwrites the other; the last request before a block wins.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>

namespace engine {

template <typename T>
class Handover {
 public:
  // User-interface thread.
  void request(T value) {
    // A count above the value tells a request from the one before it, even when both are equal.
    const uint32_t count = (requested_.load(std::memory_order_relaxed) >> 8) + 1;
    requested_.store(count << 8 | static_cast<uint8_t>(value), std::memory_order_release);
  }

  // Any thread: the value requested and not yet carried out, if any.
  std::optional<T> pending() const {
    const uint32_t requested = requested_.load(std::memory_order_acquire);
    if (requested == carriedOut_.load(std::memory_order_acquire)) return std::nullopt;
    return static_cast<T>(requested & 0xFF);
  }

  // Audio thread: carries out the value requested since the last call, if any. A reader that
  // finds no request pending sees what carryOut wrote.
  template <typename CarryOut>
  void take(CarryOut&& carryOut) noexcept {
    const uint32_t requested = requested_.load(std::memory_order_acquire);
    if (requested == carriedOut_.load(std::memory_order_relaxed)) return;
    carryOut(static_cast<T>(requested & 0xFF));
    carriedOut_.store(requested, std::memory_order_release);
  }

 private:
  std::atomic<uint32_t> requested_{0};
  std::atomic<uint32_t> carriedOut_{0};
};

}  // namespace engine
