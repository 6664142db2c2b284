#include "editor/BuiltInSkin.h"

#include "toolkit/Resources.h"

namespace editor {

void InstallBuiltInSkin() { toolkit::SetResourceSource(BuiltInResource); }

}  // namespace editor
