// The bitmaps built into the plug-in, by resource number (PNG bytes).
#pragma once

#include <cstdint>
#include <span>

namespace editor {

// Empty for a number that is not built in.
std::span<const uint8_t> BuiltInResource(int32_t resourceId);

// Makes toolkit bitmaps find these by number. Called once when the plug-in loads.
void InstallBuiltInSkin();

}  // namespace editor
