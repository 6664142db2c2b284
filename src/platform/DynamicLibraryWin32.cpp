#include "platform/DynamicLibrary.h"

#include <windows.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string& path) {
  if (path.size() >= MAX_PATH) return nullptr;
  // A library named with its folder finds its own dependencies beside it; a failed load answers
  // null instead of showing the system's error box.
  const bool withFolder = path.find_first_of("\\/") != std::string::npos;
  DWORD previousMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  const HMODULE library = ::LoadLibraryExA(path.c_str(), nullptr, withFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
  ::SetThreadErrorMode(previousMode, nullptr);
  return library;
}

void* FindSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

}  // namespace platform
