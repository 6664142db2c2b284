// Tuned sound: each holder's sample prepared for playing at speed 1, converted from its file's
// rate to the session's rate and by the holder's pitch (2^(pitch/12)), band-limited, in one pass
// of the sample-rate converter. A thread of its own prepares the holders whenever the kit asks
// (a new sample, a pitch, the sound mode or the session's rate changed) and hands each copy to
// the audio thread through the holder's guarded replacement; until it is in place the holder
// plays the copy before. A sample recorded at the session's rate and not pitched needs no copy.
// Requests that come while it works are merged: it always prepares what the holder wants when
// it gets to it, so a sweep of the pitch ends on its last value.
#pragma once

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/Kit.h"
#include "engine/SampleBuffer.h"

namespace samples {

// The source converted to the session's rate and pitched by semitones (-12..12; any other value
// plays unpitched), at the converter's very-high quality; null when memory cannot be had.
std::unique_ptr<engine::SampleBuffer> PrepareSample(const engine::SampleBuffer& source, double sessionRate,
                                                    int semitones);

class SamplePreparer {
 public:
  explicit SamplePreparer(engine::Kit& kit);
  ~SamplePreparer();
  SamplePreparer(const SamplePreparer&) = delete;
  SamplePreparer& operator=(const SamplePreparer&) = delete;

  // Waits (bounded) until everything asked for before the call is prepared: for callers after
  // which a host expects the instrument ready to play (a project load, resume).
  void waitUntilPrepared();

 private:
  // What a holder's prepared copy was made from.
  struct Made {
    uint64_t sampleSerial = 0;
    int semitones = 0;
    double sessionRate = 0.0;
    bool operator==(const Made&) const = default;
  };

  void run();
  void prepareHolders();

  engine::Kit& kit_;
  std::array<Made, engine::kNoteCount> made_{};  // the preparing thread's own
  std::atomic<bool> stopping_{false};
  // The thread sleeps here between its looks at the requests; callers that may wait wake it.
  std::mutex wakeMutex_;
  std::condition_variable wake_;
  std::mutex doneMutex_;
  std::condition_variable doneChanged_;
  uint32_t done_ = 0;  // the request count the last finished round began at; under doneMutex_
  bool roundFinished_ = false;
  std::thread thread_;
};

}  // namespace samples
