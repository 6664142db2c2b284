#include "platform/Paths.h"

#include "platform/Files.h"

#include <dlfcn.h>
#include <pwd.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace platform {
namespace {

std::string FolderOf(const std::string& path) {
  const auto cut = path.find_last_of(kPathSeparator);
  return cut == std::string::npos ? std::string(1, '.') + kPathSeparator : path.substr(0, cut + 1);
}

}  // namespace

std::string PluginDirectory() {
  Dl_info info{};
  // Any address inside this module names the module's file.
  if (dladdr(reinterpret_cast<const void*>(&PluginDirectory), &info) == 0 || info.dli_fname == nullptr) return {};
  return FolderOf(info.dli_fname);
}

std::string ProgramDirectory() {
  char executable[PATH_MAX] = {};
  const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable - 1);
  return length > 0 ? FolderOf(std::string(executable, static_cast<size_t>(length))) : std::string{};
}

std::string HomeFolder() {
  std::string home;
  if (const char* variable = std::getenv("HOME"); variable != nullptr && variable[0] == kPathSeparator) {
    home = variable;
  } else if (const passwd* user = ::getpwuid(::getuid()); user != nullptr && user->pw_dir != nullptr) {
    // No usable HOME (some hosts start plug-ins with a scrubbed environment): ask the user database.
    home = user->pw_dir;
  }
  if (!home.empty() && home.back() != kPathSeparator) home += kPathSeparator;
  return home;
}

std::string DocumentsFolder() {
  // Desktops that follow the XDG user folders may name it; otherwise the usual place, if the
  // user has one.
  if (const char* variable = std::getenv("XDG_DOCUMENTS_DIR"); variable != nullptr && variable[0] == kPathSeparator) {
    std::string documents = variable;
    if (documents.back() != kPathSeparator) documents += kPathSeparator;
    return documents;
  }
  const std::string home = HomeFolder();
  if (home.empty()) return home;
  const std::string documents = home + "Documents" + kPathSeparator;
  return DirectoryExists(documents) ? documents : home;
}

}  // namespace platform
