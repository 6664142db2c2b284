#include "engine/VoicePlayback.h"

#include <atomic>

#include "engine/VoiceKernels.h"

namespace engine {

#if defined(KH_WIDE_VECTORS)
namespace kernels {
// VoicePlaybackAvx.cpp: the same runs with eight lanes.
void PlayVoiceWithAvx(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
                      const VoiceGains& gains, float silence) noexcept;
}  // namespace kernels
#endif

namespace {

std::atomic<bool> wideVectorsAllowed{true};

#if defined(KH_WIDE_VECTORS)
bool ProcessorHasAvx() {
  // Called while the module initialises, possibly before the run-time library has asked the
  // processor itself.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
}

const bool kProcessorHasAvx = ProcessorHasAvx();
#endif

}  // namespace

void AllowWideVectors(bool allowed) noexcept { wideVectorsAllowed.store(allowed, std::memory_order_relaxed); }

void PlayVoice(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
               const VoiceGains& gains, float silence) noexcept {
#if defined(KH_WIDE_VECTORS)
  if (kProcessorHasAvx && wideVectorsAllowed.load(std::memory_order_relaxed)) {
    kernels::PlayVoiceWithAvx(voice, cursor, left, right, count, gains, silence);
    return;
  }
#endif
  kernels::PlayVoiceRuns(voice, cursor, left, right, count, gains, silence);
}

}  // namespace engine
