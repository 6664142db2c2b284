#include "engine/StepClock.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "engine/KitPlayer.h"

namespace engine {
namespace {

int32_t Truncated(double value) { return static_cast<int32_t>(value); }

}  // namespace

double StepStart(int step, int32_t steps, bool swung, double swingAmount, double unitsPerBeat) {
  const double beatsPerStep = 1.0 / (steps * 0.25);
  double time = step * beatsPerStep * unitsPerBeat;
  if (swung && step % 2 == 1) {
    time += unitsPerBeat * beatsPerStep * swingAmount;
    // A fully swung last step must not land on the next bar's first step.
    if (step == steps - 1 && time == unitsPerBeat * kBeatsPerBar) time -= 1.0;
  }
  return time;
}

StepClock::StepClock(const PatternStore& patterns, const KitPlayer& kitPlayer, CommandQueue& commands)
    : patterns_(patterns), kitPlayer_(kitPlayer), commands_(commands) {}

void StepClock::rewind() { commands_.push({EngineCommand::Rewind, 0}); }

void StepClock::selectPattern(int pattern) {
  if (PatternStore::validPattern(pattern)) selection_.request(static_cast<uint8_t>(pattern));
}

void StepClock::reset() {
  selectPattern(0);
  rewind();
}

uint8_t StepClock::currentPattern() const { return selection_.pending().value_or(pattern_); }

void StepClock::takeSelection() noexcept {
  selection_.take([this](uint8_t pattern) { placePattern(pattern); });
}

void StepClock::placeAtBarStart() noexcept {
  barPosition_ = 0;
  currentStep_ = 0;
}

void StepClock::placePattern(int pattern) noexcept {
  if (!PatternStore::validPattern(pattern)) return;
  pattern_ = static_cast<uint8_t>(pattern);
  if (samplesPerBar_ <= 0.0) return;
  const int32_t steps = patterns_.resolution(pattern);
  const int32_t step = Truncated(static_cast<double>(barPosition_) * steps / samplesPerBar_);
  if (step >= 0 && step < steps) currentStep_ = step;
}

bool StepClock::swingFlag(int holder) const {
  return kitPlayer_.kit().holder(static_cast<uint8_t>(kFirstNote + holder)).swing();
}

void StepClock::updateTiming(double sampleRate, double tempo, float swingAmount) {
  // A rate or tempo that gives no bar, or one too long to count in frames, keeps the old timing.
  const double samplesPerBar = sampleRate * 60.0 / tempo * kBeatsPerBar;
  if (!(sampleRate > 0.0) || !(tempo > 0.0) || !(samplesPerBar >= 1.0) ||
      !(samplesPerBar < std::numeric_limits<int32_t>::max())) {
    return;
  }
  const uint32_t timingChanges = patterns_.timingChanges();
  bool swingChanged = false;
  for (int holder = 0; holder < kHolderCount; ++holder) swingChanged |= swingFlag(holder) != swingSnapshot_[holder];
  if (sampleRate == sampleRate_ && tempo == tempo_ && timingChanges == timingChangesComputed_ && !swingChanged &&
      swingAmount == timingSwingAmount_) {
    return;
  }
  sampleRate_ = sampleRate;
  tempo_ = tempo;
  timingSwingAmount_ = swingAmount;
  timingChangesComputed_ = timingChanges;
  recompute();
}

void StepClock::recompute() {
  samplesPerBeat_ = sampleRate_ * 60.0 / tempo_;
  samplesPerBar_ = samplesPerBeat_ * kBeatsPerBar;
  barLength_ = Truncated(samplesPerBar_);
  const double swing = timingSwingAmount_;
  for (int pattern = 0; pattern < kPatternCount; ++pattern) {
    const int32_t steps = patterns_.resolution(pattern);
    for (int holder = 0; holder < kHolderCount; ++holder) {
      const bool swung = swingFlag(holder);
      for (int step = 0; step <= steps; ++step) {
        const double time = StepStart(step, steps, swung, swing, samplesPerBeat_);
        // Kept ascending for the scheduler's search; only a bar of fewer frames than steps
        // would otherwise put the fully swung last step before the one before it.
        const int32_t previous =
            step == 0 ? std::numeric_limits<int32_t>::min() : stepTimes_[pattern][holder][step - 1];
        stepTimes_[pattern][holder][step] = std::max(Truncated(time), previous);
      }
    }
  }
  for (int index = 0; index < kResolutionCount; ++index) {
    const int32_t steps = kDefaultResolution << index;
    const double beatsPerStep = 4.0 / steps;
    for (int step = 0; step <= steps; ++step)
      stepBoundaries_[index][step] = Truncated(step * beatsPerStep * samplesPerBeat_);
  }
  for (int holder = 0; holder < kHolderCount; ++holder) swingSnapshot_[holder] = swingFlag(holder);
}

void StepClock::locate() {
  const int32_t steps = playingResolution();
  const int index = ResolutionIndex(steps);
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

void StepClock::schedule(NoteEventQueue& queue, int32_t frames) const {
  const int pattern = pattern_;
  const int32_t steps = patterns_.resolution(pattern);
  const int64_t start = barPosition_;
  const int64_t stop = start + frames;
  const auto queueIfSounding = [&](int holder, int step, int64_t offset) {
    if (patterns_.cellSounds(pattern, step, holder)) {
      const auto velocity = static_cast<uint8_t>(patterns_.stepVelocity(pattern, step, holder));
      queue.insert({static_cast<uint8_t>(kFirstNote + holder), velocity, static_cast<uint16_t>(offset)});
    }
  };
  for (int holder = 0; holder < kHolderCount; ++holder) {
    const auto& times = stepTimes_[pattern][holder];
    // The step times ascend: the steps inside the block are one run, found by a search.
    const auto* last = times.data() + steps;
    for (const auto* time = std::lower_bound(times.data(), last, start); time != last && *time < stop; ++time) {
      queueIfSounding(holder, static_cast<int>(time - times.data()), *time - start);
    }
    // The block reaches into the next bar: its first step, as if the pattern goes on.
    const int64_t barEnd = times[steps];
    if (stop > barEnd) {
      const int64_t intoNextBar = barEnd - start;
      const int64_t first = times[0];
      if (first >= 0 && first < frames - intoNextBar) queueIfSounding(holder, 0, first + intoNextBar);
    }
  }
}

void StepClock::advanceClockBy(int32_t frames) noexcept {
  while (frames > 0) {
    const int32_t position = barPosition_;
    const int32_t steps = playingResolution();
    const int index = ResolutionIndex(steps);
    const int32_t next = (currentStep_ + 1) % (steps + 1);
    nextStepIndex_ = next;
    if (index < 0) {
      barPosition_ = position + frames;
      return;
    }
    // The first position after this one that is the next step's boundary or lies at or past
    // the bar's end (the step and the position disagree when a resolution changed mid-bar).
    const int32_t boundary = stepBoundaries_[index][next];
    int64_t event = std::numeric_limits<int64_t>::max();
    if (boundary > position) event = boundary;
    if (barLength_ > 0) event = std::min<int64_t>(event, std::max<int64_t>(int64_t{position} + 1, barLength_));
    if (event > int64_t{position} + frames) {
      barPosition_ = position + frames;
      return;
    }
    frames -= static_cast<int32_t>(event - position);
    if (event == boundary) {
      currentStep_ = next % steps;
      barPosition_ = currentStep_ == 0 ? 0 : boundary;
    } else {
      currentStep_ = 0;
      barPosition_ = 0;
    }
  }
}

void StepClock::prepareHsyncBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames) {
  if (time.tempoValid) updateTiming(time.sampleRate, time.tempo, swingAmount);
  if (std::isfinite(time.ppqPos)) {
    // The bar is the song position modulo four quarter notes; the host's bar start is not read.
    const double position = time.ppqPos + 1e-13;
    const double whole = std::trunc(position);
    const double beatInBar = std::fmod(whole, static_cast<double>(kBeatsPerBar));
    const double offset = ((position - whole) + beatInBar) * samplesPerBeat_;
    // Before the song start positions count down to 0: round them to the frame that holds them,
    // allowing for the host's rounding, so the first beat lands on its frame.
    int32_t barPosition = offset >= 0.0 ? Truncated(offset) : static_cast<int32_t>(std::floor(offset + 1e-6));
    if (barPosition == barLength_) barPosition = 0;
    barPosition_ = barPosition;
  }
  locate();
  if (time.playing && time.ppqValid && time.tempoValid && timingComputed()) schedule(queue, frames);
}

void StepClock::prepareRunBlock(const HostTime& time, float swingAmount, NoteEventQueue& queue, int32_t frames) {
  const int32_t steps = playingResolution();
  if (!runMemorySet_) {
    runTempo_ = time.tempo;
    runResolution_ = steps;
    runMemorySet_ = true;
  }
  if (time.tempoValid) {
    updateTiming(time.sampleRate, time.tempo, swingAmount);
    if (time.tempo != runTempo_ || steps != runResolution_) {
      runResolution_ = steps;
      const int index = ResolutionIndex(steps);
      if (index >= 0) barPosition_ = stepBoundaries_[index][nextStepIndex_ % steps];
      runTempo_ = time.tempo;
    }
  }
  locate();
  // Until a block brings a valid tempo there is no timing to schedule from.
  if (timingComputed()) schedule(queue, frames);
}

}  // namespace engine
