// The module that holds the code calling it: the plug-in's DLL, or the program it is linked into.
#pragma once

#include <windows.h>

namespace platform {

// Defined inline on purpose: each module has its own copy, so the address names that module.
inline HMODULE OwnModule() {
  HMODULE module = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&OwnModule), &module);
  return module;
}

}  // namespace platform
