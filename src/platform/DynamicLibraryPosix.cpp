#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string& path, Unloading unloading) {
  const int keep = unloading == Unloading::kNever ? RTLD_NODELETE : 0;
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | keep);
}

std::string LibraryError() {
  const char* error = ::dlerror();
  return error != nullptr ? error : "unknown error";
}

void* FindSymbol(LibraryHandle library, const char* name) {
  return library == nullptr ? nullptr : ::dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) ::dlclose(library);
}

void KeepThisModuleLoaded() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<const void*>(&KeepThisModuleLoaded), &info) == 0 || info.dli_fname == nullptr) return;
  // A reference that is never given back, on a module that may no longer be unloaded at all.
  ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

std::string VersionedLibraryName(const std::string& name, int majorVersion) {
  return "lib" + name + ".so." + std::to_string(majorVersion);
}

bool SystemProvidesLibraries() { return true; }

}  // namespace platform
