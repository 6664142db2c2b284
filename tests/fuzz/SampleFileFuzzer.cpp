// Sample files from anywhere, loaded as a holder loads them through the bound libsndfile:
// run with -malloc_limit_mb, a file may not make the loader allocate for more than it holds.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "engine/Kit.h"
#include "platform/Messages.h"
#include "samples/SampleLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = [] {
    platform::SetMessageSink([](const std::string&, const std::string&) {});
    return "/tmp/kestrelhollow-fuzz-sample-" + std::to_string(getpid());
  }();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  const bool written = std::fwrite(data, 1, size, file) == size;
  std::fclose(file);
  // Each load replaces (and releases) the sample of the one before.
  static engine::Kit kit;
  if (written) samples::LoadSample(kit, engine::kFirstNote, path, false);
  std::remove(path.c_str());
  return 0;
}
