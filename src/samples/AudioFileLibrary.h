// The run-time binding of libsndfile: one attempt per process, on the first load request.
// When it fails the user is told once, and sample loading stays disabled until the host
// loads the plug-in module anew.
#pragma once

#include <string>

#include "samples/SoundFileApi.h"

namespace samples {

struct AudioFileFunctions {
  sndfile::OpenFunction open = nullptr;
  sndfile::StrErrorFunction strError = nullptr;  // never called, but a usable library has it
  sndfile::CloseFunction close = nullptr;
  sndfile::CommandFunction command = nullptr;
  sndfile::ReadFloatFunction readFloat = nullptr;
};

// Where the binding looks for the library, in this order.
struct LibrarySearch {
  std::string directory;   // ends with the separator; the not-found message names it
  bool systemPath = true;  // then the system's library search path
};

// The bound entry points, or null when the library is unavailable. The first call in the
// process makes the one binding attempt (and shows its message when it fails); calls from
// other threads meanwhile wait for its outcome. Never from the audio thread.
const AudioFileFunctions* AudioFileLibrary();

// Replaces where the binding looks (by default the plug-in directory, then the system path).
// Only has an effect before the first call of AudioFileLibrary; tests use it.
void SetLibrarySearch(LibrarySearch search);

}  // namespace samples
