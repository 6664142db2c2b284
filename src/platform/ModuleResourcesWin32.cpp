#include "platform/ModuleResources.h"

#include "platform/OwnModuleWin32.h"

namespace platform {

std::span<const uint8_t> ModuleResource(int32_t id) {
  const HMODULE module = OwnModule();
  if (module == nullptr) return {};
  const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (found == nullptr) return {};
  // A module's resources are mapped with it: nothing to free.
  const HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const uint8_t*>(bytes), static_cast<size_t>(::SizeofResource(module, found))};
}

}  // namespace platform
