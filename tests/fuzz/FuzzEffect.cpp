#include "FuzzEffect.h"

#include <string>

#include "platform/Messages.h"

namespace fuzz {

std::unique_ptr<plugin::Vst> MakeEffect(vst::HostCallback host) {
  platform::SetMessageSink([](const std::string&, const std::string&) {});
  return std::make_unique<plugin::Vst>(
      host, plugin::EffectEnvironment{"/nonexistent-kestrelhollow-fuzz/",
                                      [](engine::Kit& kit, uint8_t note, const std::string& path) {
                                        kit.holder(note).setPath(path);
                                        return false;
                                      }});
}

}  // namespace fuzz
