#include "platform/BoundedLock.h"

#include <mutex>
#include <thread>

namespace platform {
namespace {

std::recursive_mutex& SystemMutex(void* mutex) { return *static_cast<std::recursive_mutex*>(mutex); }

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

ProcessMutex::ProcessMutex() : system_(new std::recursive_mutex) {}

BoundedLock::BoundedLock(ProcessMutex& mutex, std::chrono::milliseconds bound)
    : mutex_(mutex), owned_(Acquire(SystemMutex(mutex.system_), bound)) {}

BoundedLock::~BoundedLock() {
  if (owned_) SystemMutex(mutex_.system_).unlock();
}

}  // namespace platform
