#include "platform/ModuleResources.h"

#include <windows.h>

namespace platform {

std::span<const uint8_t> ModuleResource(int32_t id) {
  HMODULE module = nullptr;
  if (!::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(&ModuleResource), &module)) {
    return {};
  }
  const HRSRC found = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_RCDATA);
  if (found == nullptr) return {};
  // A module's resources are mapped with it: nothing to free.
  const HGLOBAL loaded = ::LoadResource(module, found);
  const void* bytes = loaded != nullptr ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const uint8_t*>(bytes), static_cast<size_t>(::SizeofResource(module, found))};
}

}  // namespace platform
