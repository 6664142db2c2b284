#include "BuiltInSkin.h"
#include "toolkit/Resources.h"

namespace skin {

void InstallBuiltInSkin() { toolkit::SetResourceSource(BuiltInResource); }

}  // namespace skin
