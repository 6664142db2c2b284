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

namespace {

bool ProcessorHasAvx() {
  // Called while the module initialises, possibly before the run-time library has asked the
  // processor itself.
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx");
}

const bool kProcessorHasAvx = ProcessorHasAvx();
std::atomic<bool> wideVectorsAllowed{true};

}  // namespace

void AllowWideVectors(bool allowed) noexcept { wideVectorsAllowed.store(allowed, std::memory_order_relaxed); }

void PlayVoice(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
               const VoiceGains& gains, float silence) noexcept {
  if (kProcessorHasAvx && wideVectorsAllowed.load(std::memory_order_relaxed)) {
    kernels::PlayVoiceWithAvx(voice, cursor, left, right, count, gains, silence);
  } else {
    kernels::playVoiceRuns(voice, cursor, left, right, count, gains, silence);
  }
}
#else
void AllowWideVectors(bool) noexcept {}

void PlayVoice(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
               const VoiceGains& gains, float silence) noexcept {
  kernels::playVoiceRuns(voice, cursor, left, right, count, gains, silence);
}
#endif

}  // namespace engine
