// Writes the default preset into a plug-in bundle: a program file in chunk form holding the
// project text of the demo set, as a host would save it from the effect.
//
// Usage: kh_default_preset <bundle folder>
#include <cstdio>
#include <string>

#include "engine/DrumEngine.h"
#include "persistence/ChunkWriter.h"
#include "persistence/DefaultPreset.h"
#include "persistence/Placeholders.h"
#include "persistence/ProgramFile.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "presets/DemoSet.h"
#include "vst/VstInterface.h"

namespace {

// The effect's unique ID and version, as its program files carry them.
constexpr int32_t kUniqueId = vst::FourCharCode('k', 's', 'h', 'w');
constexpr int32_t kEffectVersion = 1;
constexpr const char* kProgramName = "Demo Grooves";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <bundle folder>\n", argv[0]);
    return 2;
  }
  std::string bundle = argv[1];
  if (bundle.empty() || bundle.back() != platform::kPathSeparator) bundle += platform::kPathSeparator;

  engine::DrumEngine engine;
  const std::string samplesFolder = persistence::SamplesFolder(bundle);
  presets::BuildDemoSet(engine, samplesFolder);

  persistence::ProgramFile program;
  program.fxId = kUniqueId;
  program.fxVersion = kEffectVersion;
  program.programName = kProgramName;
  persistence::WriteChunkText(engine, samplesFolder, program.chunk);
  program.chunk += '\0';  // the block a host stores counts the NUL byte

  const std::string path = persistence::DefaultPresetPath(bundle);
  if (!platform::WriteTextFile(path, persistence::WriteProgramFile(program))) {
    std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return 1;
  }
  return 0;
}
