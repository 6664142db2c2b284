// On Windows the built-in images are the module's RCDATA resources of the same numbers: the skin
// generator's resource script puts them into every module that links the editor.
#include "editor/BuiltInSkin.h"

#include "platform/ModuleResources.h"

namespace editor {

std::span<const uint8_t> BuiltInResource(int32_t resourceId) { return platform::ModuleResource(resourceId); }

}  // namespace editor
