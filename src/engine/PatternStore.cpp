#include "engine/PatternStore.h"

#include <algorithm>

namespace engine {

std::string PatternName(int pattern) {
  if (!PatternStore::validPattern(pattern)) return {};
  return std::string(pattern < kHolderCount ? "Oct2 " : "Oct3 ") + kNoteNames[pattern % kHolderCount];
}

PatternStore::PatternStore(Relaxed<float>& swingAmount) : swingAmount_(swingAmount) { reset(); }

void PatternStore::reset() {
  swingAmount_ = kDefaultSwingAmount;
  sequencerModeSetting_ = 0;
  for (int pattern = 0; pattern < kPatternCount; ++pattern) {
    resolutions_[pattern] = kDefaultResolution;
    for (auto& step : cells_[pattern]) {
      for (auto& cell : step) cell = 0;
    }
  }
  timingChanges_.increment();
}

void PatternStore::setCell(uint32_t value, int pattern, int step, int holder) {
  if (validCell(pattern, step, holder)) cells_[pattern][step][holder] = value;
}

void PatternStore::clearCell(int pattern, int step, int holder) {
  if (validCell(pattern, step, holder)) cells_[pattern][step][holder] = cells_[pattern][step][holder] & ~0xFFU;
}

uint32_t PatternStore::getCell(int pattern, int step, int holder) const {
  return validCell(pattern, step, holder) ? cells_[pattern][step][holder].load() : 0;
}

int PatternStore::stepVelocity(int pattern, int step, int holder) const {
  const auto velocity = static_cast<int>((getCell(pattern, step, holder) >> 8) & 0x7F);
  return velocity == 0 ? kFullVelocity : velocity;
}

void PatternStore::setStepVelocity(int velocity, int pattern, int step, int holder) {
  if (!validCell(pattern, step, holder)) return;
  const auto byte = static_cast<uint32_t>(std::clamp(velocity, 1, kFullVelocity));
  cells_[pattern][step][holder] = (cells_[pattern][step][holder] & ~0xFF00U) | (byte << 8);
}

void PatternStore::clearPattern(int pattern) {
  for (int holder = 0; holder < kHolderCount; ++holder) {
    for (int step = 0; step < kMaxSteps; ++step) clearCell(pattern, step, holder);
  }
}

void PatternStore::copyPattern(int from, int to) {
  if (!validPattern(from) || !validPattern(to)) return;
  cells_[to] = cells_[from];
}

void PatternStore::setResolution(int pattern, int32_t resolution) {
  if (!validPattern(pattern) || ResolutionIndex(resolution) < 0) return;
  if (resolutions_[pattern] != resolution) {
    resolutions_[pattern] = resolution;
    timingChanges_.increment();
  }
}

int32_t PatternStore::resolution(int pattern) const {
  return validPattern(pattern) ? resolutions_[pattern].load() : kDefaultResolution;
}

void PatternStore::setSequencerModeSetting(uint32_t value) {
  if (sequencerModeSetting_ != value) {
    sequencerModeSetting_ = value;
    timingChanges_.increment();
  }
}

}  // namespace engine
