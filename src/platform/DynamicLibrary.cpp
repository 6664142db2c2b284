#include "platform/DynamicLibrary.h"

#include <dlfcn.h>

namespace platform {

LibraryHandle OpenLibrary(const std::string& path) { return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* FindSymbol(LibraryHandle library, const char* name) {
  return library == nullptr ? nullptr : ::dlsym(library, name);
}

void CloseLibrary(LibraryHandle library) {
  if (library != nullptr) ::dlclose(library);
}

}  // namespace platform
