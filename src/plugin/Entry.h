#pragma once

#include "vst/VstInterface.h"

namespace plugin {

// Creates an effect for the host, or null when the host cannot drive one.
vst::AEffect* CreateEffect(vst::HostCallback host);

}  // namespace plugin
