// Waits on the process-wide mutexes that are bounded in time: after the bound the work
// goes on regardless, and the mutex is released only when it was obtained.
#pragma once

#include <chrono>

namespace platform {

constexpr std::chrono::milliseconds kMutexWaitBound{10000};

// A mutex shared by every instance in the process: created unowned, recursive for the thread
// that owns it, and never destroyed, so that it outlives every instance and every wait on it.
class ProcessMutex {
 public:
  ProcessMutex();
  ProcessMutex(const ProcessMutex&) = delete;
  ProcessMutex& operator=(const ProcessMutex&) = delete;

 private:
  friend class BoundedLock;
  void* system_;  // the system's mutex object
};

class BoundedLock {
 public:
  explicit BoundedLock(ProcessMutex& mutex, std::chrono::milliseconds bound = kMutexWaitBound);
  ~BoundedLock();
  BoundedLock(const BoundedLock&) = delete;
  BoundedLock& operator=(const BoundedLock&) = delete;

  bool owned() const { return owned_; }

 private:
  ProcessMutex& mutex_;
  bool owned_;
};

// Guards building and loading a project's state; held by construction and by a chunk load.
ProcessMutex& StateMutex();
// Serialises the replacement of holders' sample arrays.
ProcessMutex& LoadMutex();

}  // namespace platform
