#include "platform/BoundedLock.h"

#include <mutex>
#include <thread>

namespace platform {

class ProcessMutex {
 public:
  std::recursive_mutex mutex;
};

namespace {

// Polls rather than using a timed lock: the waits are on the user-interface thread, rare and
// short, and a plain try-lock is a lock that every tool (the thread sanitizer included) sees.
bool Acquire(std::recursive_mutex& mutex, std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!mutex.try_lock()) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(250));
  }
  return true;
}

}  // namespace

BoundedLock::BoundedLock(ProcessMutex& mutex, std::chrono::milliseconds bound)
    : mutex_(mutex), owned_(Acquire(mutex.mutex, bound)) {}

BoundedLock::~BoundedLock() {
  if (owned_) mutex_.mutex.unlock();
}

ProcessMutex& StateMutex() {
  static ProcessMutex mutex;
  return mutex;
}

ProcessMutex& LoadMutex() {
  static ProcessMutex mutex;
  return mutex;
}

}  // namespace platform
