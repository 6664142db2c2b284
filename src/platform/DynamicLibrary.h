// Loading a shared library at run time and finding its exported functions.
#pragma once

#include <string>

namespace platform {

// An opened shared library; null stands for none.
using LibraryHandle = void*;

// Whether closing the library may take its code and data out of the process. Hosts keep a
// plug-in resident: its own libraries (font and drawing caches among them) hold process-wide
// state that must not vanish under them.
enum class Unloading { kOnClose, kNever };

// Loads the library. A path with a separator is taken as it stands; a bare file name is looked
// up on the system's library search path. Null when it cannot be loaded; LibraryError() then
// says why.
LibraryHandle OpenLibrary(const std::string& path, Unloading unloading = Unloading::kOnClose);
// Why the last OpenLibrary of this thread failed, in the system's words.
std::string LibraryError();
// The address of an exported symbol, or null when the library does not export it.
void* FindSymbol(LibraryHandle library, const char* name);
void CloseLibrary(LibraryHandle library);
// Keeps the module that holds this code loaded until the process ends, whoever closes it: for a
// thread of its own that may still be running when the host unloads the plug-in.
void KeepThisModuleLoaded();

// The file name this system gives a shared library of that name and major version
// ("sndfile", 1 names the audio-file library).
std::string VersionedLibraryName(const std::string& name, int majorVersion);
// True where users get shared libraries from the system (a distribution's packages), so a bare
// name is worth looking up on the search path; elsewhere they are placed beside the plug-in.
bool SystemProvidesLibraries();

}  // namespace platform
