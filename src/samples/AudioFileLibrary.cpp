#include "samples/AudioFileLibrary.h"

#include <optional>
#include <utility>

#include "platform/DynamicLibrary.h"
#include "platform/Messages.h"
#include "platform/Paths.h"

namespace samples {
namespace {

const std::string& LibraryName() {
  static const std::string name = platform::VersionedLibraryName("sndfile", 1);
  return name;
}

std::optional<LibrarySearch>& SearchOverride() {
  static std::optional<LibrarySearch> search;
  return search;
}

LibrarySearch CurrentSearch() {
  if (SearchOverride()) return *SearchOverride();
  return {platform::PluginDirectory(), platform::SystemProvidesLibraries()};
}

std::string ErrorCaption() { return "Loading " + LibraryName() + " Error"; }

platform::LibraryHandle OpenFirstFound(const LibrarySearch& search) {
  platform::LibraryHandle library = platform::OpenLibrary(search.directory + LibraryName());
  if (library == nullptr && search.systemPath) library = platform::OpenLibrary(LibraryName());
  return library;
}

template <typename Function>
bool Resolve(platform::LibraryHandle library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(platform::FindSymbol(library, name));
  return function != nullptr;
}

// Loads the library and resolves the five entry points; true when all of them are usable.
bool BindAudioFileLibrary(AudioFileFunctions& functions) {
  const LibrarySearch search = CurrentSearch();
  platform::LibraryHandle library = OpenFirstFound(search);
  if (library == nullptr) {
    const std::string& name = LibraryName();
    platform::ShowMessage(ErrorCaption(), "The " + name + " was not found. No samples can be loaded.\nClose down " +
                                              "Kestrelhollow and place the " + name + " in the " + search.directory +
                                              " directory.\nThen restart your application.");
    return false;
  }
  // Every name is resolved, so a library lacking several of them is refused as a whole.
  bool complete = Resolve(library, "sf_open", functions.open);
  complete = Resolve(library, "sf_strerror", functions.strError) && complete;
  complete = Resolve(library, "sf_close", functions.close) && complete;
  complete = Resolve(library, "sf_command", functions.command) && complete;
  complete = Resolve(library, "sf_read_float", functions.readFloat) && complete;
  if (complete) return true;  // the library stays loaded for the life of the process
  platform::ShowMessage(ErrorCaption(), "The version of the " + LibraryName() + " is probably wrong.");
  functions = {};
  platform::CloseLibrary(library);
  return false;
}

}  // namespace

const AudioFileFunctions* AudioFileLibrary() {
  static AudioFileFunctions functions;
  // Initialised exactly once per process; a concurrent first caller waits for the attempt.
  static const bool available = BindAudioFileLibrary(functions);
  return available ? &functions : nullptr;
}

void SetLibrarySearch(LibrarySearch search) { SearchOverride() = std::move(search); }

}  // namespace samples
