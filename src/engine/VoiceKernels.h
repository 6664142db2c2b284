// The inner loops of a voice: sample frames times the voice's gains, written as separate left
// and right runs. Each product is formed in the order the voice has always used,
// ((((side gain * sample) * release) * velocity) * master), and a multiply of four or eight
// lanes rounds each lane exactly as a single one does, so every output equals the
// frame-by-frame result bit for bit.
//
// This header is compiled once for the baseline instruction set and once with AVX switched on
// (VoicePlaybackAvx.cpp, which defines KH_KERNELS_WITH_AVX); each compilation lives in its own
// inline namespace, so the two never stand for one another at link time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "engine/VoicePlayback.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

#if defined(KH_KERNELS_WITH_AVX)
#define KH_VECTOR_ISA avx
#elif defined(__SSE2__)
#define KH_VECTOR_ISA sse2
#else
#define KH_VECTOR_ISA scalar
#endif

namespace engine::kernels {
inline namespace KH_VECTOR_ISA {

// A release or velocity factor of exactly 1 leaves every product unchanged (the product
// before it is already rounded, flushed and quieted), so the templates skip it.
template <bool kRelease, bool kVelocity>
inline float Scaled(float sideGain, float sample, const VoiceGains& gains) {
  float value = sideGain * sample;
  if constexpr (kRelease) value = value * gains.release;
  if constexpr (kVelocity) value = value * gains.velocity;
  return value * gains.master;
}

#if defined(__SSE2__)
// Samples are read this many floats ahead, within the stretch being rendered.
constexpr size_t kPrefetchFloats = 256;

inline void Prefetch(const float* at) {
  _mm_prefetch(reinterpret_cast<const char*>(at + kPrefetchFloats), _MM_HINT_T0);
}

// Four lanes (SSE2).
struct Lanes4 {
  using Vector = __m128;
  static constexpr size_t kWidth = 4;
  static Vector broadcast(float value) { return _mm_set1_ps(value); }
  static Vector load(const float* at) { return _mm_loadu_ps(at); }
  static void store(float* at, Vector value) { _mm_storeu_ps(at, value); }
  static Vector multiply(Vector first, Vector second) { return _mm_mul_ps(first, second); }
  // Four interleaved stereo frames into four left and four right values.
  static void split(const float* frames, Vector& lefts, Vector& rights) {
    const __m128 first = _mm_loadu_ps(frames);
    const __m128 second = _mm_loadu_ps(frames + 4);
    lefts = _mm_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
    rights = _mm_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
  }
};

#if defined(KH_KERNELS_WITH_AVX)
// Eight lanes (AVX). The shuffle works within each half, so each half is loaded from the
// frames that give it four consecutive lefts and rights.
struct Lanes8 {
  using Vector = __m256;
  static constexpr size_t kWidth = 8;
  static Vector broadcast(float value) { return _mm256_set1_ps(value); }
  static Vector load(const float* at) { return _mm256_loadu_ps(at); }
  static void store(float* at, Vector value) { _mm256_storeu_ps(at, value); }
  static Vector multiply(Vector first, Vector second) { return _mm256_mul_ps(first, second); }
  static void split(const float* frames, Vector& lefts, Vector& rights) {
    const __m256 first =
        _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(frames)), _mm_loadu_ps(frames + 8), 1);
    const __m256 second =
        _mm256_insertf128_ps(_mm256_castps128_ps256(_mm_loadu_ps(frames + 4)), _mm_loadu_ps(frames + 12), 1);
    lefts = _mm256_shuffle_ps(first, second, _MM_SHUFFLE(2, 0, 2, 0));
    rights = _mm256_shuffle_ps(first, second, _MM_SHUFFLE(3, 1, 3, 1));
  }
};
using WidestLanes = Lanes8;
#else
using WidestLanes = Lanes4;
#endif

template <class Lanes>
struct WideGains {
  explicit WideGains(const VoiceGains& gains)
      : left(Lanes::broadcast(gains.left)),
        right(Lanes::broadcast(gains.right)),
        release(Lanes::broadcast(gains.release)),
        velocity(Lanes::broadcast(gains.velocity)),
        master(Lanes::broadcast(gains.master)) {}
  typename Lanes::Vector left, right, release, velocity, master;
};

template <class Lanes, bool kRelease, bool kVelocity>
inline typename Lanes::Vector ScaledLanes(typename Lanes::Vector sideGain, typename Lanes::Vector samples,
                                          const WideGains<Lanes>& gains) {
  auto value = Lanes::multiply(sideGain, samples);
  if constexpr (kRelease) value = Lanes::multiply(value, gains.release);
  if constexpr (kVelocity) value = Lanes::multiply(value, gains.velocity);
  return Lanes::multiply(value, gains.master);
}

// One group of kWidth frames, stereo or mono.
template <class Lanes, bool kRelease, bool kVelocity>
inline void StereoGroup(const float* source, float* left, float* right, const WideGains<Lanes>& gains) {
  typename Lanes::Vector lefts, rights;
  Lanes::split(source, lefts, rights);
  Lanes::store(left, ScaledLanes<Lanes, kRelease, kVelocity>(gains.left, lefts, gains));
  Lanes::store(right, ScaledLanes<Lanes, kRelease, kVelocity>(gains.right, rights, gains));
}

template <class Lanes, bool kRelease, bool kVelocity>
inline void MonoGroup(const float* source, float* left, float* right, const WideGains<Lanes>& gains) {
  const auto samples = Lanes::load(source);
  Lanes::store(left, ScaledLanes<Lanes, kRelease, kVelocity>(gains.left, samples, gains));
  Lanes::store(right, ScaledLanes<Lanes, kRelease, kVelocity>(gains.right, samples, gains));
}

// At least kWidth frames of one or two channels in whole groups. A store that straddles two
// cache lines costs about twice as much, so after a first group the groups go on from where
// the left run is aligned to the vector; the first two groups overlap, as the last group
// overlaps the one before, and write the same values again.
template <class Lanes, bool kRelease, bool kVelocity>
inline void PlayGroups(const float* source, uint32_t channels, float* left, float* right, size_t frames,
                       const VoiceGains& gains) {
  constexpr size_t kWidth = Lanes::kWidth;
  const WideGains<Lanes> wide(gains);
  const size_t last = frames - kWidth;
  const size_t misalignment = reinterpret_cast<uintptr_t>(left) / sizeof(float) % kWidth;
  size_t frame = 0;
  if (misalignment != 0) {
    if (channels == 2) {
      StereoGroup<Lanes, kRelease, kVelocity>(source, left, right, wide);
    } else {
      MonoGroup<Lanes, kRelease, kVelocity>(source, left, right, wide);
    }
    frame = kWidth - misalignment;
  }
  if (channels == 2) {
    for (; frame + kWidth <= frames; frame += kWidth) {
      Prefetch(source + 2 * frame);
      StereoGroup<Lanes, kRelease, kVelocity>(source + 2 * frame, left + frame, right + frame, wide);
    }
    if (frame < frames) StereoGroup<Lanes, kRelease, kVelocity>(source + 2 * last, left + last, right + last, wide);
  } else {
    for (; frame + kWidth <= frames; frame += kWidth) {
      MonoGroup<Lanes, kRelease, kVelocity>(source + frame, left + frame, right + frame, wide);
    }
    if (frame < frames) MonoGroup<Lanes, kRelease, kVelocity>(source + last, left + last, right + last, wide);
  }
}
#endif

// count copies of value, in whole vectors where they fit: a compiler at the release builds'
// level writes a run of a value it cannot see one float at a time, which made a voice past its
// end cost several times a playing one.
inline void FillRun(float* at, uint32_t count, float value) {
  uint32_t index = 0;
#if defined(__SSE2__)
  const auto values = WidestLanes::broadcast(value);
  for (; index + WidestLanes::kWidth <= count; index += WidestLanes::kWidth) WidestLanes::store(at + index, values);
#endif
  for (; index < count; ++index) at[index] = value;
}

// frames consecutive sample frames (channels floats each; of more than two the first two are
// played, one is played on both sides) into left[0 .. frames) and right[0 .. frames).
template <bool kRelease, bool kVelocity>
inline void PlayRun(const float* source, uint32_t channels, float* left, float* right, uint32_t frames,
                    const VoiceGains& gains) {
#if defined(__SSE2__)
  if (channels <= 2 && frames >= WidestLanes::kWidth) {
    PlayGroups<WidestLanes, kRelease, kVelocity>(source, channels, left, right, frames, gains);
    return;
  }
  if (channels <= 2 && frames >= Lanes4::kWidth) {
    PlayGroups<Lanes4, kRelease, kVelocity>(source, channels, left, right, frames, gains);
    return;
  }
#endif
  for (size_t frame = 0; frame < frames; ++frame) {
    const float* samples = source + frame * channels;
    left[frame] = Scaled<kRelease, kVelocity>(gains.left, samples[0], gains);
    right[frame] = Scaled<kRelease, kVelocity>(gains.right, channels >= 2 ? samples[1] : samples[0], gains);
  }
}

// periods runs of kPeriod consecutive stereo frames, each starting advance frames after the
// one before: the common pitches (+-1 and +-2) unrolled into whole groups.
template <uint32_t kPeriod, bool kRelease, bool kVelocity>
inline void PlayStereoPeriods(const float* source, uint32_t advance, float* left, float* right, uint32_t periods,
                              const VoiceGains& gains) {
#if defined(__SSE2__)
  using Lanes = WidestLanes;
  constexpr uint32_t kWidth = Lanes::kWidth;
  static_assert(kPeriod >= kWidth);
  const WideGains<Lanes> wide(gains);
  for (uint32_t period = 0; period < periods; ++period, source += 2 * advance, left += kPeriod, right += kPeriod) {
    Prefetch(source);
    for (uint32_t frame = 0; frame + kWidth <= kPeriod; frame += kWidth) {
      StereoGroup<Lanes, kRelease, kVelocity>(source + 2 * frame, left + frame, right + frame, wide);
    }
    if constexpr (kPeriod % kWidth != 0) {
      constexpr uint32_t kLast = kPeriod - kWidth;
      StereoGroup<Lanes, kRelease, kVelocity>(source + 2 * kLast, left + kLast, right + kLast, wide);
    }
  }
#else
  for (uint32_t period = 0; period < periods; ++period) {
    PlayRun<kRelease, kVelocity>(source + 2 * period * advance, 2, left + kPeriod * period, right + kPeriod * period,
                                 kPeriod, gains);
  }
#endif
}

// The voice of count frames from its cursor: runs of consecutive sample frames, split where
// the pitch repeats or skips a frame and where the sample ends. A pitched voice reads reset + 1
// frames, then moves on by reset (down, the last frame again) or reset + 2 (up, one frame
// skipped), and starts the countdown again at reset.
template <bool kRelease, bool kVelocity>
void PlayVoice(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
               const VoiceGains& gains, float silence) {
  const SampleBuffer* buffer = voice.buffer;
  const uint32_t limit = buffer == nullptr ? 0 : std::min(voice.end, buffer->frames);
  const uint8_t reset = PitchCountdown(voice.pitch);
  const bool pitched = reset != 0;
  const uint32_t jump = voice.pitch < 0 ? 0 : 2;
  const uint32_t channels = buffer == nullptr ? 0 : buffer->channels;
  const auto source = [&](uint32_t at) { return buffer->samples.get() + static_cast<size_t>(at) * channels; };
  uint32_t at = cursor.position;
  uint8_t remaining = cursor.countdown;
  uint32_t frame = 0;
  while (frame < count) {
    if (at >= limit) {
      FillRun(left + frame, count - frame, silence);
      FillRun(right + frame, count - frame, silence);
      break;
    }
    if (pitched && remaining == reset) {
      // Whole periods that fit in the stretch and before the limit, with no other state change.
      const uint32_t period = reset + 1U;
      const uint32_t advance = reset + jump;
      uint32_t periods = (count - frame) / period;
      const uint32_t room = limit - at;  // the n-th period reads up to at + n * advance + period - 1
      periods = room < period ? 0 : std::min(periods, (room - period) / advance + 1);
      if (channels == 2 && period == 12) {
        PlayStereoPeriods<12, kRelease, kVelocity>(source(at), advance, left + frame, right + frame, periods, gains);
      } else if (channels == 2 && period == 13) {
        PlayStereoPeriods<13, kRelease, kVelocity>(source(at), advance, left + frame, right + frame, periods, gains);
      } else {
        for (uint32_t index = 0; index < periods; ++index) {
          PlayRun<kRelease, kVelocity>(source(at + index * advance), channels, left + frame + index * period,
                                       right + frame + index * period, period, gains);
        }
      }
      frame += periods * period;
      at += periods * advance;
      if (frame >= count || at >= limit) continue;
    }
    uint32_t run = std::min(count - frame, limit - at);
    if (pitched) run = std::min<uint32_t>(run, remaining + 1U);
    PlayRun<kRelease, kVelocity>(source(at), channels, left + frame, right + frame, run, gains);
    frame += run;
    if (pitched && run == remaining + 1U) {
      at += run - 1 + jump;
      remaining = reset;
    } else {
      if (pitched) remaining = static_cast<uint8_t>(remaining - run);
      at += run;
    }
  }
  cursor = {at, remaining};
}

// The voice with the factors that are exactly 1 left out of its products.
inline void PlayVoiceRuns(const VoiceSource& voice, VoiceCursor& cursor, float* left, float* right, uint32_t count,
                          const VoiceGains& gains, float silence) {
  const bool release = gains.release != 1.0f;
  const bool velocity = gains.velocity != 1.0f;
  if (release && velocity) {
    PlayVoice<true, true>(voice, cursor, left, right, count, gains, silence);
  } else if (release) {
    PlayVoice<true, false>(voice, cursor, left, right, count, gains, silence);
  } else if (velocity) {
    PlayVoice<false, true>(voice, cursor, left, right, count, gains, silence);
  } else {
    PlayVoice<false, false>(voice, cursor, left, right, count, gains, silence);
  }
}

}  // namespace KH_VECTOR_ISA
}  // namespace engine::kernels
