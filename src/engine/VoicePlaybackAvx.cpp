// The voice's runs for processors with AVX. Every header outside the kernels is read before
// AVX is switched on, so that no function shared with the rest of the program is compiled
// for it; only the kernels' own inline namespace is.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <immintrin.h>
#include <memory>

#include "engine/SampleBuffer.h"
#include "engine/VoicePlayback.h"

#pragma GCC push_options
#pragma GCC target("avx")
#define KH_KERNELS_WITH_AVX
#include "engine/VoiceKernels.h"

namespace engine::kernels {

static_assert(WidestLanes::kWidth == 8);

void PlayVoiceWithAvx(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
                      const VoiceGains& gains, float silence) noexcept {
  PlayVoiceRuns(voice, cursor, left, right, count, gains, silence);
}

}  // namespace engine::kernels
#pragma GCC pop_options
