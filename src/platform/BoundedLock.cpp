#include "platform/BoundedLock.h"

namespace platform {

std::recursive_timed_mutex& StateMutex() {
  static std::recursive_timed_mutex mutex;
  return mutex;
}

std::recursive_timed_mutex& LoadMutex() {
  static std::recursive_timed_mutex mutex;
  return mutex;
}

}  // namespace platform
