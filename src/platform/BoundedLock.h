// Waits on the process-wide mutexes that are bounded in time: after the bound the work
// goes on regardless, and the mutex is released only when it was obtained.
#pragma once

#include <chrono>
#include <mutex>

namespace platform {

constexpr std::chrono::milliseconds kMutexWaitBound{10000};

class BoundedLock {
 public:
  explicit BoundedLock(std::recursive_mutex& mutex, std::chrono::milliseconds bound = kMutexWaitBound);
  ~BoundedLock() {
    if (owned_) mutex_.unlock();
  }
  BoundedLock(const BoundedLock&) = delete;
  BoundedLock& operator=(const BoundedLock&) = delete;

  bool owned() const { return owned_; }

 private:
  std::recursive_mutex& mutex_;
  bool owned_;
};

// Guards building and loading a project's state; held by construction and by a chunk load.
std::recursive_mutex& StateMutex();
// Serialises the replacement of holders' sample arrays.
std::recursive_mutex& LoadMutex();

}  // namespace platform
