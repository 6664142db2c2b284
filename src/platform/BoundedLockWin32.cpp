#include "platform/BoundedLock.h"

#include <windows.h>

#include <algorithm>

namespace platform {

// A Win32 mutex object: recursive for its owner by nature. Its handle is never closed, so the
// mutex lives as long as the process.
class ProcessMutex {
 public:
  // Unowned and without a name: each process has its own.
  HANDLE handle = ::CreateMutexA(nullptr, FALSE, nullptr);
};

namespace {

bool Acquire(const ProcessMutex& mutex, std::chrono::milliseconds bound) {
  const auto milliseconds = std::clamp<std::chrono::milliseconds::rep>(bound.count(), 0, INFINITE - 1);
  // A mutex whose owner thread ended without releasing it is handed over as abandoned, owned
  // all the same. A failed wait (no mutex could be made) owns nothing and the work goes on.
  const DWORD outcome = ::WaitForSingleObject(mutex.handle, static_cast<DWORD>(milliseconds));
  return outcome == WAIT_OBJECT_0 || outcome == WAIT_ABANDONED;
}

}  // namespace

BoundedLock::BoundedLock(ProcessMutex& mutex, std::chrono::milliseconds bound)
    : mutex_(mutex), owned_(Acquire(mutex, bound)) {}

BoundedLock::~BoundedLock() {
  if (owned_) ::ReleaseMutex(mutex_.handle);
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
