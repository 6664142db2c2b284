#include "support/AllocationCounter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

std::atomic<bool> counting{false};
std::atomic<size_t> counted{0};

}  // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
namespace {

// Windows' C library has no aligned_alloc; its aligned blocks have their own release call.
#ifdef _WIN32
void* AlignedBlock(size_t align, size_t size) { return _aligned_malloc(size, align); }
void ReleaseAligned(void* memory) { _aligned_free(memory); }
#else
void* AlignedBlock(size_t align, size_t size) { return std::aligned_alloc(align, size); }
void ReleaseAligned(void* memory) { std::free(memory); }
#endif

void* Allocate(size_t size) {
  if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
  if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
  throw std::bad_alloc();
}

void* AllocateAligned(size_t size, std::align_val_t alignment) {
  if (counting.load(std::memory_order_relaxed)) counted.fetch_add(1, std::memory_order_relaxed);
  const auto align = static_cast<size_t>(alignment);
  if (void* memory = AlignedBlock(align, (size + align - 1) / align * align)) return memory;
  throw std::bad_alloc();
}

}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void* operator new(size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void* operator new[](size_t size, std::align_val_t alignment) { return AllocateAligned(size, alignment); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { ReleaseAligned(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { ReleaseAligned(memory); }
void operator delete(void* memory, size_t, std::align_val_t) noexcept { ReleaseAligned(memory); }
void operator delete[](void* memory, size_t, std::align_val_t) noexcept { ReleaseAligned(memory); }
#endif

namespace testhost {

AllocationCounter::AllocationCounter() {
  counted = 0;
  counting = true;
}

AllocationCounter::~AllocationCounter() { counting = false; }

size_t AllocationCounter::allocations() const { return counted.load(); }

}  // namespace testhost
