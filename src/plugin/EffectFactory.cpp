#include "plugin/Entry.h"

#include "plugin/Vst.h"

namespace plugin {

vst::AEffect* CreateEffect(vst::HostCallback host) {
  if (host == nullptr) return nullptr;
  // A host that does not answer with its version is too old to drive the effect.
  if (host(nullptr, vst::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  // An effect that cannot be built (no memory for it or its editor) is no effect for the
  // host; nothing is thrown across the host's call.
  try {
    return (new Vst(host))->getAeffect();
  } catch (...) {
    return nullptr;
  }
}

}  // namespace plugin
