#include "Progress.h"

#include <cstdio>

#include "platform/Console.h"

namespace render {
namespace {

// A render shorter than this finishes before a bar would help.
constexpr auto kQuietStart = std::chrono::milliseconds(300);
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);
constexpr int kBarWidth = 40;

}  // namespace

Progress::Progress(int64_t totalFrames)
    : totalFrames_(totalFrames),
      enabled_(platform::StandardErrorIsTerminal()),
      start_(Clock::now()),
      lastDrawn_(start_) {}

Progress::~Progress() {
  if (drawn_) std::fputc('\n', stderr);
}

void Progress::update(int64_t framesDone) {
  if (!enabled_ || totalFrames_ <= 0) return;
  const auto now = Clock::now();
  if (now - start_ < kQuietStart || now - lastDrawn_ < kRedrawInterval) return;
  lastDrawn_ = now;
  const double fraction = static_cast<double>(framesDone) / static_cast<double>(totalFrames_);
  const int filled = static_cast<int>(fraction * kBarWidth);
  char bar[kBarWidth + 1];
  for (int i = 0; i < kBarWidth; ++i) bar[i] = i < filled ? '#' : '.';
  bar[kBarWidth] = '\0';
  std::fprintf(stderr, "\rRendering [%s] %3d%%", bar, static_cast<int>(fraction * 100.0));
  std::fflush(stderr);
  drawn_ = true;
}

double Progress::finish() {
  if (drawn_) {
    std::fprintf(stderr, "\r%*s\r", kBarWidth + 20, "");
    std::fflush(stderr);
    drawn_ = false;
  }
  return std::chrono::duration<double>(Clock::now() - start_).count();
}

}  // namespace render
