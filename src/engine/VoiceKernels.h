// The inner loops of the block renderer: sample frames times the voice's gains, written as
// separate left and right runs. Each product is formed in the order the voice has always
// used, ((((side gain * sample) * release) * velocity) * master), and the four-wide SSE2
// multiplies round exactly as the one-wide ones, so every output equals the frame-by-frame
// result bit for bit.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace engine::kernels {

struct VoiceGains {
  float left;
  float right;
  float release;
  float velocity;
  float master;
};

// A release or velocity factor of exactly 1 leaves every product unchanged (the product
// before it is already rounded, flushed and quieted), so the template skips it.
template <bool kRelease, bool kVelocity>
inline float scaled(float sideGain, float sample, const VoiceGains& gains) {
  float value = sideGain * sample;
  if constexpr (kRelease) value = value * gains.release;
  if constexpr (kVelocity) value = value * gains.velocity;
  return value * gains.master;
}

#if defined(__SSE2__)
// Samples are read this many floats ahead: long samples stream from memory.
constexpr size_t kPrefetchFloats = 1024;

struct WideGains {
  explicit WideGains(const VoiceGains& gains)
      : left(_mm_set1_ps(gains.left)),
        right(_mm_set1_ps(gains.right)),
        release(_mm_set1_ps(gains.release)),
        velocity(_mm_set1_ps(gains.velocity)),
        master(_mm_set1_ps(gains.master)) {}
  __m128 left, right, release, velocity, master;
};

template <bool kRelease, bool kVelocity>
inline __m128 scaled4(__m128 sideGain, __m128 samples, const WideGains& gains) {
  __m128 value = _mm_mul_ps(sideGain, samples);
  if constexpr (kRelease) value = _mm_mul_ps(value, gains.release);
  if constexpr (kVelocity) value = _mm_mul_ps(value, gains.velocity);
  return _mm_mul_ps(value, gains.master);
}

// Four interleaved stereo frames into four left and four right values.
template <bool kRelease, bool kVelocity>
inline void stereoGroup(const float* source, float* left, float* right, const WideGains& gains) {
  const __m128 first = _mm_loadu_ps(source);
  const __m128 second = _mm_loadu_ps(source + 4);
  const __m128 lefts = _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
  const __m128 rights = _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
  _mm_storeu_ps(left, scaled4<kRelease, kVelocity>(gains.left, lefts, gains));
  _mm_storeu_ps(right, scaled4<kRelease, kVelocity>(gains.right, rights, gains));
}

template <bool kRelease, bool kVelocity>
inline void monoGroup(const float* source, float* left, float* right, const WideGains& gains) {
  const __m128 samples = _mm_loadu_ps(source);
  _mm_storeu_ps(left, scaled4<kRelease, kVelocity>(gains.left, samples, gains));
  _mm_storeu_ps(right, scaled4<kRelease, kVelocity>(gains.right, samples, gains));
}
#endif

// frames consecutive sample frames (channels floats each; of more than two the first two are
// played, one is played on both sides) into left[0 .. frames) and right[0 .. frames).
template <bool kRelease, bool kVelocity>
inline void playRun(const float* source, uint32_t channels, float* left, float* right, uint32_t frames,
                    const VoiceGains& gains) {
#if defined(__SSE2__)
  if (frames >= 4 && channels <= 2) {
    const WideGains wide(gains);
    const size_t last = frames - 4;
    size_t frame = 0;
    if (channels == 2) {
      // Eight frames are one cache line of samples: one prefetch each.
      for (; frame + 8 <= frames; frame += 8) {
        _mm_prefetch(reinterpret_cast<const char*>(source + 2 * frame + kPrefetchFloats), _MM_HINT_T0);
        stereoGroup<kRelease, kVelocity>(source + 2 * frame, left + frame, right + frame, wide);
        stereoGroup<kRelease, kVelocity>(source + 2 * frame + 8, left + frame + 4, right + frame + 4, wide);
      }
      if (frame + 4 <= frames) {
        stereoGroup<kRelease, kVelocity>(source + 2 * frame, left + frame, right + frame, wide);
        frame += 4;
      }
      // The last group overlaps the one before and writes the same values again.
      if (frame < frames) stereoGroup<kRelease, kVelocity>(source + 2 * last, left + last, right + last, wide);
    } else {
      for (; frame + 4 <= frames; frame += 4) monoGroup<kRelease, kVelocity>(source + frame, left + frame, right + frame, wide);
      if (frame < frames) monoGroup<kRelease, kVelocity>(source + last, left + last, right + last, wide);
    }
    return;
  }
#endif
  for (size_t frame = 0; frame < frames; ++frame) {
    const float* samples = source + frame * channels;
    left[frame] = scaled<kRelease, kVelocity>(gains.left, samples[0], gains);
    right[frame] = scaled<kRelease, kVelocity>(gains.right, channels >= 2 ? samples[1] : samples[0], gains);
  }
}

// periods runs of kPeriod consecutive stereo frames, each starting advance frames after the
// one before: the common pitches (+-1 and +-2) unrolled into whole groups.
template <uint32_t kPeriod, bool kRelease, bool kVelocity>
inline void playStereoPeriods(const float* source, uint32_t advance, float* left, float* right, uint32_t periods,
                              const VoiceGains& gains) {
#if defined(__SSE2__)
  static_assert(kPeriod >= 4);
  const WideGains wide(gains);
  for (uint32_t period = 0; period < periods; ++period, source += 2 * advance, left += kPeriod, right += kPeriod) {
    _mm_prefetch(reinterpret_cast<const char*>(source + kPrefetchFloats), _MM_HINT_T0);
    for (uint32_t frame = 0; frame + 4 <= kPeriod; frame += 4) {
      stereoGroup<kRelease, kVelocity>(source + 2 * frame, left + frame, right + frame, wide);
    }
    if constexpr (kPeriod % 4 != 0) {
      stereoGroup<kRelease, kVelocity>(source + 2 * (kPeriod - 4), left + kPeriod - 4, right + kPeriod - 4, wide);
    }
  }
#else
  for (uint32_t period = 0; period < periods; ++period) {
    playRun<kRelease, kVelocity>(source + 2 * period * advance, 2, left + kPeriod * period, right + kPeriod * period,
                                 kPeriod, gains);
  }
#endif
}

}  // namespace engine::kernels
