#include "toolkit/CVSTGUITimer.h"

#include <algorithm>
#include <vector>

namespace toolkit {
namespace {

std::vector<CVSTGUITimer*>& RunningTimers() {
  static std::vector<CVSTGUITimer*> timers;
  return timers;
}

}  // namespace

CVSTGUITimer::CVSTGUITimer(CBaseObject* target, int32_t fireTimeMs)
    : target_(target), fireTimeMs_(std::max<int32_t>(fireTimeMs, 1)) {}

CVSTGUITimer::~CVSTGUITimer() { stop(); }

bool CVSTGUITimer::start() {
  if (running_) return true;
  running_ = true;
  nextFire_ = Clock::now() + std::chrono::milliseconds(fireTimeMs_);
  RunningTimers().push_back(this);
  return true;
}

bool CVSTGUITimer::stop() {
  if (!running_) return true;
  running_ = false;
  auto& timers = RunningTimers();
  timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
  return true;
}

void CVSTGUITimer::poll(Clock::time_point now) {
  const auto period = std::chrono::milliseconds(fireTimeMs_);
  int ticks = 0;
  while (running_ && nextFire_ <= now && ticks < kMaxCatchUpTicks) {
    nextFire_ += period;
    ++ticks;
    if (target_) target_->notify(this, kMsgTimer);
  }
  if (running_ && nextFire_ <= now) nextFire_ = now + period;
}

void CVSTGUITimer::pollAll(Clock::time_point now) {
  // A notified target may start or stop timers; walk a copy.
  const std::vector<CVSTGUITimer*> timers = RunningTimers();
  for (CVSTGUITimer* timer : timers) {
    if (std::find(RunningTimers().begin(), RunningTimers().end(), timer) != RunningTimers().end()) timer->poll(now);
  }
}

}  // namespace toolkit
