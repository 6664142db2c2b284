// Counts the allocations made through operator new while a counter is active, in this
// program and in the plug-in module it loads (the module's operator new resolves to ours).
#pragma once

#include <cstddef>

namespace testhost {

class AllocationCounter {
 public:
  AllocationCounter();
  ~AllocationCounter();
  AllocationCounter(const AllocationCounter&) = delete;
  AllocationCounter& operator=(const AllocationCounter&) = delete;

  size_t allocations() const;
};

}  // namespace testhost
