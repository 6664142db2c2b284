#include "platform/DynamicLibrary.h"

#include <windows.h>

#include "platform/Files.h"

namespace platform {
namespace {

thread_local DWORD lastOpenError = ERROR_SUCCESS;

// Takes a reference on the module holding the address that is never given back: the module
// stays until the process ends, whoever frees it.
void PinModuleAt(const void* address) {
  HMODULE pinned = nullptr;
  ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                       static_cast<LPCSTR>(address), &pinned);
}

}  // namespace

LibraryHandle OpenLibrary(const std::string& path, Unloading unloading) {
  if (PathIsTooLong(path)) {
    lastOpenError = ERROR_FILENAME_EXCED_RANGE;
    return nullptr;
  }
  // A library named with its folder finds its own dependencies beside it; a failed load answers
  // null instead of showing the system's error box.
  const bool withFolder = path.find_first_of("\\/") != std::string::npos;
  DWORD previousMode = 0;
  ::SetThreadErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX, &previousMode);
  HMODULE library = ::LoadLibraryExA(path.c_str(), nullptr, withFolder ? LOAD_WITH_ALTERED_SEARCH_PATH : 0);
  lastOpenError = library == nullptr ? ::GetLastError() : ERROR_SUCCESS;
  ::SetThreadErrorMode(previousMode, nullptr);
  if (library != nullptr && unloading == Unloading::kNever) PinModuleAt(library);
  return library;
}

std::string LibraryError() {
  char* text = nullptr;
  const DWORD length =
      ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, lastOpenError, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  std::string error = length > 0 ? std::string(text, length) : "error " + std::to_string(lastOpenError);
  ::LocalFree(text);
  // The system's text ends with a line break.
  while (!error.empty() && (error.back() == '\n' || error.back() == '\r' || error.back() == ' ')) error.pop_back();
  return error;
}

void* FindSymbol(LibraryHandle library, const char* name) {
  if (library == nullptr) return nullptr;
  return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

void KeepThisModuleLoaded() { PinModuleAt(reinterpret_cast<const void*>(&KeepThisModuleLoaded)); }

std::string VersionedLibraryName(const std::string& name, int majorVersion) {
  return "lib" + name + "-" + std::to_string(majorVersion) + ".dll";
}

// Windows has no system copy of the libraries the plug-in uses: they come in its bundle.
bool SystemProvidesLibraries() { return false; }

}  // namespace platform
