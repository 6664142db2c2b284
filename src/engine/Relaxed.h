// A value that one thread writes with single stores while another reads it: the model is
// shared between the user-interface and audio threads without locks, so every shared field
// is an atomic with relaxed ordering (plain loads and stores on the machines we run on). A field
// has one writer side; a change the other side asks for is handed over (CommandQueue, Handover)
// and carried out by the writer. Counts and values any thread may set use increment and exchange.
#pragma once

#include <atomic>

namespace engine {

template <typename T>
class Relaxed {
 public:
  Relaxed(T value = T{}) : value_(value) {}  // NOLINT(google-explicit-constructor)
  Relaxed(const Relaxed& other) : value_(other.load()) {}
  Relaxed& operator=(const Relaxed& other) {
    store(other.load());
    return *this;
  }
  Relaxed& operator=(T value) {
    store(value);
    return *this;
  }
  operator T() const { return load(); }  // NOLINT(google-explicit-constructor)

  T load() const { return value_.load(std::memory_order_relaxed); }
  void store(T value) { value_.store(value, std::memory_order_relaxed); }
  T exchange(T value) { return value_.exchange(value, std::memory_order_relaxed); }
  // For counts: one more. Atomic, so a count that several threads raise (a host parameter's
  // change, set from the editor or the host's automation) loses none.
  void increment() { value_.fetch_add(1, std::memory_order_relaxed); }

 private:
  std::atomic<T> value_;
  static_assert(std::atomic<T>::is_always_lock_free, "shared model fields must never lock");
};

}  // namespace engine
