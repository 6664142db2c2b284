// Sample data as a holder plays it: never changed once published, replaced as a whole.
#pragma once

#include <cstdint>
#include <memory>

namespace engine {

// What the audio file library reports about an opened file; laid out like its own record
// so the loader can hand it over directly.
struct SampleFileInfo {
  int64_t frames = 0;
  int32_t sampleRate = 0;
  int32_t channels = 0;
  int32_t format = 0;
  int32_t sections = 0;
  int32_t seekable = 0;
};

struct SampleBuffer {
  std::unique_ptr<float[]> samples;  // interleaved, channels floats per frame
  uint32_t frames = 0;
  uint32_t channels = 1;
  int32_t sampleRate = 0;  // frames per second as recorded; 0: unknown, taken as the session's

  // An array for frames x channels floats, cleared to silence; null when it cannot be had.
  static std::unique_ptr<SampleBuffer> allocate(uint32_t frames, uint32_t channels);
  // The same without clearing, for a writer that sets every item itself (a file reader that
  // would otherwise pay for clearing a long sample twice).
  static std::unique_ptr<SampleBuffer> allocateUncleared(uint32_t frames, uint32_t channels);
};

}  // namespace engine
