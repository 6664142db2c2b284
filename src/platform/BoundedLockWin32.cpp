#include "platform/BoundedLock.h"

#include <windows.h>

#include <algorithm>

namespace platform {

// A Win32 mutex object, recursive for its owner by nature. Unnamed: each process has its own.
ProcessMutex::ProcessMutex() : system_(::CreateMutexA(nullptr, FALSE, nullptr)) {}

namespace {

bool Acquire(HANDLE mutex, std::chrono::milliseconds bound) {
  const auto milliseconds = std::clamp<std::chrono::milliseconds::rep>(bound.count(), 0, INFINITE - 1);
  // A mutex whose owner thread ended without releasing it is handed over as abandoned, owned
  // all the same. A failed wait (no mutex could be made) owns nothing and the work goes on.
  const DWORD outcome = ::WaitForSingleObject(mutex, static_cast<DWORD>(milliseconds));
  return outcome == WAIT_OBJECT_0 || outcome == WAIT_ABANDONED;
}

}  // namespace

BoundedLock::BoundedLock(ProcessMutex& mutex, std::chrono::milliseconds bound)
    : mutex_(mutex), owned_(Acquire(mutex.system_, bound)) {}

BoundedLock::~BoundedLock() {
  if (owned_) ::ReleaseMutex(mutex_.system_);
}

}  // namespace platform
