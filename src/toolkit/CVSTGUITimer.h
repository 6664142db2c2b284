// A repeating timer that notifies its target with kMsgTimer. Timers run off elapsed time: the
// frames pump them from idle, and a timer that fell behind catches up there.
#pragma once

#include <chrono>
#include <cstdint>

#include "toolkit/CBaseObject.h"

namespace toolkit {

class CVSTGUITimer : public CBaseObject {
 public:
  using Clock = std::chrono::steady_clock;
  // Ticks delivered in one pump at most; a longer stall drops the rest.
  static constexpr int kMaxCatchUpTicks = 100;

  CVSTGUITimer(CBaseObject* target, int32_t fireTimeMs);
  ~CVSTGUITimer() override;

  bool start();
  bool stop();

  // Notifies the target once for every period that has passed by now.
  void poll(Clock::time_point now);
  // Polls every running timer of the process (user-interface thread only).
  static void pollAll(Clock::time_point now = Clock::now());

 private:
  CBaseObject* target_;
  int32_t fireTimeMs_;
  bool running_ = false;
  Clock::time_point nextFire_{};
};

}  // namespace toolkit
