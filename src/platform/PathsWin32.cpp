#include "platform/Paths.h"

#include <windows.h>

namespace platform {
namespace {

// The plug-in's own module, as the loader hands it to DllMain. It stays null where this code is
// linked into a program, and the program's file names the folder then.
HMODULE ownModule = nullptr;

}  // namespace

std::string PluginDirectory() {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(ownModule, path, MAX_PATH);
  // A name that fills the buffer was cut short: no folder rather than a wrong one.
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string file(path, length);
  const auto cut = file.find_last_of(kPathSeparator);
  return cut == std::string::npos ? std::string(1, '.') + kPathSeparator : file.substr(0, cut + 1);
}

}  // namespace platform

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) platform::ownModule = instance;
  return TRUE;
}
