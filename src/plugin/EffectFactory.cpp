#include "plugin/Entry.h"

#include <new>

#include "plugin/Vst.h"

namespace plugin {

vst::AEffect* CreateEffect(vst::HostCallback host) {
  if (host == nullptr) return nullptr;
  // A host that does not answer with its version is too old to drive the effect.
  if (host(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  auto* effect = new (std::nothrow) Vst(host);
  return effect != nullptr ? effect->getAeffect() : nullptr;
}

}  // namespace plugin
