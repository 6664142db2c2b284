// Feeds arbitrary bytes to the effect's setChunk, then saves the state that resulted. Run
// under AddressSanitizer and UndefinedBehaviorSanitizer: any crash or access outside the
// model is a fault.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>

#include "FuzzEffect.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  static const std::unique_ptr<plugin::Vst> effect = fuzz::MakeEffect(nullptr);
  // A copy of exactly size bytes, so that reading past the host's block is caught.
  auto block = std::make_unique<uint8_t[]>(size);
  std::copy(data, data + size, block.get());
  effect->setChunk(block.get(), static_cast<int32_t>(size), false);
  void* text = nullptr;
  effect->getChunk(&text, false);
  return 0;
}
