// The effect the fuzz targets drive: messages go nowhere, and sample files are not opened
// (a path in a project could name any file on the machine); the loader only records the
// path, as the real one does.
#pragma once

#include <memory>

#include "plugin/Vst.h"

namespace fuzz {

std::unique_ptr<plugin::Vst> MakeEffect(vst::HostCallback host);

}  // namespace fuzz
