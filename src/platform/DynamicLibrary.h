// Loading a shared library at run time and finding its exported functions.
#pragma once

#include <string>

namespace platform {

// An opened shared library; null stands for none.
using LibraryHandle = void*;

// Loads the library. A path with a separator is taken as it stands; a bare file name is looked
// up on the system's library search path. Null when it cannot be loaded.
LibraryHandle OpenLibrary(const std::string& path);
// The address of an exported symbol, or null when the library does not export it.
void* FindSymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);

}  // namespace platform
