// Data that the build put into the plug-in's module as numbered resources (Windows RCDATA).
#pragma once

#include <cstdint>
#include <span>

namespace platform {

// The bytes of resource number id of the module that holds this code (the plug-in, or a program
// it is linked into); empty when the module has none of that number. They stay valid while the
// module is loaded.
std::span<const uint8_t> ModuleResource(int32_t id);

}  // namespace platform
