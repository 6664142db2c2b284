// Feeds arbitrary bytes to the effect's setChunk, then saves the state that resulted. Run
// under AddressSanitizer and UndefinedBehaviorSanitizer: any crash or access outside the
// model is a fault. Sample files are not opened (a path could name a device that blocks);
// the loader only records the path as the real one does.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <string>

#include "platform/Messages.h"
#include "plugin/Vst.h"

namespace {

plugin::Vst& Effect() {
  static const bool quiet = [] {
    platform::SetMessageSink([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  static plugin::Vst effect(nullptr, plugin::EffectEnvironment{
                                         "/nonexistent-kestrelhollow-fuzz/",
                                         [](engine::Kit& kit, uint8_t note, const std::string& path) {
                                           kit.holder(note).setPath(path);
                                           return false;
                                         }});
  return effect;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > static_cast<size_t>(std::numeric_limits<int32_t>::max())) return 0;
  // A copy of exactly size bytes, so that reading past the host's block is caught.
  auto block = std::make_unique<uint8_t[]>(size);
  std::copy(data, data + size, block.get());
  plugin::Vst& effect = Effect();
  effect.setChunk(block.get(), static_cast<int32_t>(size), false);
  void* text = nullptr;
  effect.getChunk(&text, false);
  return 0;
}
