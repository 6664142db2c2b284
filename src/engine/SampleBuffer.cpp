#include "engine/SampleBuffer.h"

#include <limits>
#include <new>

namespace engine {
namespace {

std::unique_ptr<SampleBuffer> MakeBuffer(uint32_t frames, uint32_t channels, bool cleared) {
  if (channels == 0) return nullptr;
  const uint64_t items = static_cast<uint64_t>(frames) * channels;
  if (items > std::numeric_limits<size_t>::max() / sizeof(float)) return nullptr;
  auto buffer = std::make_unique<SampleBuffer>();
  buffer->samples.reset(cleared ? new (std::nothrow) float[items]() : new (std::nothrow) float[items]);
  if (!buffer->samples && items != 0) return nullptr;
  buffer->frames = frames;
  buffer->channels = channels;
  return buffer;
}

}  // namespace

std::unique_ptr<SampleBuffer> SampleBuffer::allocate(uint32_t frames, uint32_t channels) {
  return MakeBuffer(frames, channels, true);
}

std::unique_ptr<SampleBuffer> SampleBuffer::allocateUncleared(uint32_t frames, uint32_t channels) {
  return MakeBuffer(frames, channels, false);
}

}  // namespace engine
