// Feeds arbitrary bytes to the render tool's MIDI file reader. Run under AddressSanitizer and
// UndefinedBehaviorSanitizer: any crash, access outside the bytes or undefined arithmetic is a
// fault; a refusal (Failure) is the expected answer to damaged input.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "Failure.h"
#include "MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A copy of exactly size bytes, so that reading past the end is caught.
  auto bytes = std::make_unique<char[]>(size);
  std::copy(data, data + size, bytes.get());
  try {
    render::ParseMidiFile(std::string_view(bytes.get(), size), 48000.0, "fuzz.mid");
  } catch (const render::Failure&) {
  }
  return 0;
}
