// A progress bar on the terminal for renders that take more than a moment, and the wall
// clock that gives the realtime factor.
#pragma once

#include <chrono>
#include <cstdint>

namespace render {

class Progress {
 public:
  // Draws on standard error, and only when that is a terminal.
  explicit Progress(int64_t totalFrames);
  // A render that stops early leaves the bar where it stopped and ends its line, so that what
  // is said next starts a line of its own.
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  void update(int64_t framesDone);
  // Clears the bar; returns the seconds since construction.
  double finish();

 private:
  using Clock = std::chrono::steady_clock;

  int64_t totalFrames_;
  bool enabled_;
  bool drawn_ = false;
  Clock::time_point start_;
  Clock::time_point lastDrawn_;
};

}  // namespace render
