#include "platform/Paths.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shlobj.h>

#include <cstdlib>

namespace platform {
namespace {

// The plug-in's own module, as the loader hands it to DllMain. It stays null where this code is
// linked into a program, and the program's file names the folder then.
HMODULE ownModule = nullptr;

// The folder of a module's file; empty when the name does not fit MAX_PATH (cut short, it could
// name another folder).
std::string FolderOfModule(HMODULE module) {
  char path[MAX_PATH];
  const DWORD length = ::GetModuleFileNameA(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  const std::string file(path, length);
  const auto cut = file.find_last_of(kPathSeparator);
  return cut == std::string::npos ? std::string(1, '.') + kPathSeparator : file.substr(0, cut + 1);
}

}  // namespace

std::string PluginDirectory() { return FolderOfModule(ownModule); }

std::string ProgramDirectory() { return FolderOfModule(nullptr); }

std::string HomeFolder() {
  // The user's profile folder, as the system sets it for every process.
  const char* profile = std::getenv("USERPROFILE");
  if (profile == nullptr || profile[0] == '\0') return {};
  std::string home = profile;
  if (home.back() != kPathSeparator) home += kPathSeparator;
  return home;
}

std::string DocumentsFolder() {
  char path[MAX_PATH];
  if (::SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path) != S_OK) return HomeFolder();
  std::string documents = path;
  if (documents.back() != kPathSeparator) documents += kPathSeparator;
  return documents;
}

}  // namespace platform

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
  if (reason == DLL_PROCESS_ATTACH) platform::ownModule = instance;
  return TRUE;
}
