// The bitmaps built into the plug-in, by resource number (PNG bytes): compiled in on Linux
// (generated BuiltInSkinPosix.cpp), the module's RCDATA resources on Windows (BuiltInSkinWin32.cpp).
#pragma once

#include <cstdint>
#include <span>

namespace editor {

// Empty for a number that is not built in. The bytes stay valid while the module is loaded.
std::span<const uint8_t> BuiltInResource(int32_t resourceId);

// Makes toolkit bitmaps find these by number. Called once when the plug-in loads.
void InstallBuiltInSkin();

}  // namespace editor
