#include "platform/BoundedLock.h"

namespace platform {

ProcessMutex& StateMutex() {
  static ProcessMutex mutex;
  return mutex;
}

ProcessMutex& LoadMutex() {
  static ProcessMutex mutex;
  return mutex;
}

}  // namespace platform
