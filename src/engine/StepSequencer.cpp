#include "engine/StepSequencer.h"

#include <cmath>
#include <limits>

#include "engine/KitPlayer.h"

namespace engine {
namespace {

constexpr uint8_t kStepVelocity = 127;

int32_t truncated(double value) { return static_cast<int32_t>(value); }

}  // namespace

StepSequencer::StepSequencer(const KitPlayer& kitPlayer) : kitPlayer_(kitPlayer) { reset(); }

void StepSequencer::reset() {
  swingAmount_ = 0.5f;
  sequencerModeSetting_ = 0;
  currentStep_ = 0;
  barPosition_ = 0;
  currentPattern_ = 0;
  for (int pattern = 0; pattern < kPatternCount; ++pattern) {
    resolutions_[pattern] = kDefaultResolution;
    for (auto& step : cells_[pattern]) {
      for (auto& cell : step) cell = 0;
    }
  }
  timingDirty_ = true;
}

void StepSequencer::setCell(uint32_t value, int pattern, int step, int holder) {
  if (validCell(pattern, step, holder)) cells_[pattern][step][holder] = value;
}

void StepSequencer::clearCell(int pattern, int step, int holder) {
  if (validCell(pattern, step, holder)) cells_[pattern][step][holder] = cells_[pattern][step][holder] & ~0xFFU;
}

uint32_t StepSequencer::getCell(int pattern, int step, int holder) const {
  return validCell(pattern, step, holder) ? cells_[pattern][step][holder].load() : 0;
}

void StepSequencer::clearHolderSteps(int pattern, int holder) {
  for (int step = 0; step < kMaxSteps; ++step) clearCell(pattern, step, holder);
}

void StepSequencer::clearPattern(int pattern) {
  for (int holder = 0; holder < kHolderCount; ++holder) clearHolderSteps(pattern, holder);
}

void StepSequencer::copyPattern(int from, int to) {
  if (!validPattern(from) || !validPattern(to)) return;
  cells_[to] = cells_[from];
}

void StepSequencer::setResolution(int pattern, int32_t resolution) {
  if (!validPattern(pattern) || resolutionIndex(resolution) < 0) return;
  if (resolutions_[pattern] != resolution) {
    resolutions_[pattern] = resolution;
    timingDirty_ = true;
  }
}

int32_t StepSequencer::resolution(int pattern) const {
  return validPattern(pattern) ? resolutions_[pattern].load() : kDefaultResolution;
}

void StepSequencer::setSequencerModeSetting(uint32_t value) {
  if (sequencerModeSetting_ != value) {
    sequencerModeSetting_ = value;
    timingDirty_ = true;
  }
}

void StepSequencer::setCurrentPattern(uint8_t pattern) {
  if (validPattern(pattern)) currentPattern_ = pattern;
}

void StepSequencer::rewind() {
  barPosition_ = 0;
  currentStep_ = 0;
}

void StepSequencer::selectPattern(int pattern) {
  if (!validPattern(pattern)) return;
  currentPattern_ = static_cast<uint8_t>(pattern);
  const double samplesPerBar = samplesPerBar_;
  if (samplesPerBar <= 0.0) return;
  const int32_t steps = resolutions_[pattern];
  const int32_t step = truncated(static_cast<double>(barPosition_) * steps / samplesPerBar);
  if (step >= 0 && step < steps) currentStep_ = step;
}

bool StepSequencer::swingFlag(int holder) const {
  return kitPlayer_.kit().holder(static_cast<uint8_t>(kFirstNote + holder)).swing();
}

void StepSequencer::updateTiming(double sampleRate, double tempo, float swingAmount) {
  // A rate or tempo that gives no bar, or one too long to count in frames, keeps the old timing.
  const double samplesPerBar = sampleRate * 60.0 / tempo * kBeatsPerBar;
  if (!(sampleRate > 0.0) || !(tempo > 0.0) || !(samplesPerBar >= 1.0) ||
      !(samplesPerBar < std::numeric_limits<int32_t>::max())) {
    return;
  }
  bool swingChanged = false;
  for (int holder = 0; holder < kHolderCount; ++holder) swingChanged |= swingFlag(holder) != swingSnapshot_[holder];
  if (sampleRate == sampleRate_ && tempo == tempo_ && !timingDirty_ && !swingChanged &&
      swingAmount == timingSwingAmount_) {
    return;
  }
  sampleRate_ = sampleRate;
  tempo_ = tempo;
  timingSwingAmount_ = swingAmount;
  timingDirty_ = false;
  recompute();
}

void StepSequencer::recompute() {
  samplesPerBeat_ = sampleRate_ * 60.0 / tempo_;
  const double samplesPerBar = samplesPerBeat_ * kBeatsPerBar;
  samplesPerBar_ = samplesPerBar;
  barLength_ = truncated(samplesPerBar);
  const double swing = timingSwingAmount_;
  for (int pattern = 0; pattern < kPatternCount; ++pattern) {
    const int32_t steps = resolutions_[pattern];
    const double beatsPerStep = 1.0 / (steps * 0.25);
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const bool swung = swingFlag(holder);
      for (int step = 0; step <= steps; ++step) {
        double time = step * beatsPerStep * samplesPerBeat_;
        if (swung && step % 2 == 1) {
          time += samplesPerBeat_ * beatsPerStep * swing;
          // A fully swung last step must not land on the next bar's first step.
          if (step == steps - 1 && time == samplesPerBar) time -= 1.0;
        }
        stepTimes_[pattern][holder][step] = truncated(time);
      }
    }
  }
  for (int index = 0; index < kResolutionCount; ++index) {
    const int32_t steps = kDefaultResolution << index;
    const double beatsPerStep = 4.0 / steps;
    for (int step = 0; step <= steps; ++step) stepBoundaries_[index][step] = truncated(step * beatsPerStep * samplesPerBeat_);
  }
  for (int holder = 0; holder < kHolderCount; ++holder) swingSnapshot_[holder] = swingFlag(holder);
}

void StepSequencer::locate() {
  const int32_t steps = resolutions_[currentPattern_];
  const int index = resolutionIndex(steps);
  if (index < 0) return;
  const auto& boundaries = stepBoundaries_[index];
  const int32_t position = barPosition_;
  for (int step = 0; step < steps; ++step) {
    if (boundaries[step] <= position && position < boundaries[step + 1]) {
      currentStep_ = step;
      return;
    }
  }
  // Before the bar or past its end the step stays where it was.
  if (position == boundaries[steps]) currentStep_ = 0;
}

void StepSequencer::schedule(NoteEventQueue& queue, int32_t frames) const {
  const int pattern = currentPattern_;
  const int32_t steps = resolutions_[pattern];
  const int64_t start = barPosition_;
  const int64_t stop = start + frames;
  for (int holder = 0; holder < kHolderCount; ++holder) {
    const auto note = static_cast<uint8_t>(kFirstNote + holder);
    const auto& times = stepTimes_[pattern][holder];
    const auto& cells = cells_[pattern];
    for (int step = 0; step < steps; ++step) {
      const int64_t time = times[step];
      if (start <= time && time < stop && (cells[step][holder] & 0xFFU) != 0) {
        queue.insert({note, kStepVelocity, static_cast<uint16_t>(time - start)});
      }
    }
    // The block reaches into the next bar: its first step, as if the pattern goes on.
    const int64_t barEnd = times[steps];
    if (stop > barEnd) {
      const int64_t intoNextBar = barEnd - start;
      const int64_t first = times[0];
      if (first >= 0 && first < frames - intoNextBar && (cells[0][holder] & 0xFFU) != 0) {
        queue.insert({note, kStepVelocity, static_cast<uint16_t>(first + intoNextBar)});
      }
    }
  }
}

void StepSequencer::advanceClock() noexcept {
  const int32_t position = barPosition_ + 1;
  barPosition_ = position;
  const int32_t steps = resolutions_[currentPattern_];
  const int index = resolutionIndex(steps);
  nextStepIndex_ = (currentStep_ + 1) % (steps + 1);
  if (index < 0) return;
  if (position == stepBoundaries_[index][nextStepIndex_]) {
    currentStep_ = nextStepIndex_ % steps;
    if (currentStep_ == 0) barPosition_ = 0;
  } else if (barLength_ > 0 && position >= barLength_) {
    // The step and the bar position disagreed (a resolution changed mid-bar): start the bar again.
    currentStep_ = 0;
    barPosition_ = 0;
  }
}

void StepSequencer::prepareHsyncBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue,
                                      int32_t frames) {
  if (time.tempoValid) updateTiming(time.sampleRate, time.tempo, swingAmount);
  if (std::isfinite(time.ppqPos)) {
    // The bar is the song position modulo four quarter notes; the host's bar start is not read.
    const double position = time.ppqPos + 1e-13;
    const double whole = std::trunc(position);
    const double beatInBar = std::fmod(whole, static_cast<double>(kBeatsPerBar));
    const double offset = ((position - whole) + beatInBar) * samplesPerBeat_;
    // Before the song start positions count down to 0: round them to the frame that holds them,
    // allowing for the host's rounding, so the first beat lands on its frame.
    int32_t barPosition = offset >= 0.0 ? truncated(offset) : static_cast<int32_t>(std::floor(offset + 1e-6));
    if (barPosition == barLength_) barPosition = 0;
    barPosition_ = barPosition;
  }
  locate();
  if (time.playing && time.ppqValid && time.tempoValid && timingComputed()) schedule(queue, frames);
}

void StepSequencer::prepareRunBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue,
                                    int32_t frames) {
  const int32_t steps = resolutions_[currentPattern_];
  if (!runMemorySet_) {
    runTempo_ = time.tempo;
    runResolution_ = steps;
    runMemorySet_ = true;
  }
  if (time.tempoValid) {
    updateTiming(time.sampleRate, time.tempo, swingAmount);
    if (time.tempo != runTempo_ || steps != runResolution_) {
      runResolution_ = steps;
      const int index = resolutionIndex(steps);
      if (index >= 0) barPosition_ = stepBoundaries_[index][nextStepIndex_ % steps];
      runTempo_ = time.tempo;
    }
  }
  locate();
  // Until a block brings a valid tempo there is no timing to schedule from.
  if (timingComputed()) schedule(queue, frames);
}

}  // namespace engine
