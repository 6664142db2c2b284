// Counts the allocations made through operator new while a counter is active, in this
// program and in the plug-in module it loads (the module's operator new resolves to ours).
#pragma once

#include <cstddef>

namespace testhost {

// Sanitizer runtimes bring their own operator new, so counting works in plain builds only.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr bool kAllocationsCounted = false;
#else
inline constexpr bool kAllocationsCounted = true;
#endif

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  size_t allocations() const;
};

}  // namespace testhost
