// Keeps denormal numbers out of the audio path for the lifetime of the guard: decaying
// voices would otherwise slow the processor down by orders of magnitude.
#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace platform {

class DenormalsOff {
 public:
#if defined(__SSE__) || defined(__x86_64__)
  DenormalsOff() noexcept : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | kFlushToZero | kDenormalsAreZero); }
  ~DenormalsOff() { _mm_setcsr(saved_); }

 private:
  static constexpr unsigned kFlushToZero = 0x8000;
  static constexpr unsigned kDenormalsAreZero = 0x0040;
  unsigned saved_;
#else
  DenormalsOff() noexcept = default;
#endif
 public:
  DenormalsOff(const DenormalsOff&) = delete;
  DenormalsOff& operator=(const DenormalsOff&) = delete;
};

}  // namespace platform
