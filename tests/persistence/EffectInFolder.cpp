#include "EffectInFolder.h"

#include "persistence/DefaultPreset.h"
#include "persistence/Placeholders.h"
#include "persistence/ProgramFile.h"

namespace persistencetest {

std::string BundlePresetText() {
  const auto program =
      persistence::ParseProgramFile(testhost::ReadBytes(persistence::DefaultPresetPath(KH_BUNDLE_DIR)), nullptr);
  if (!program) return {};
  std::string text = program->chunk;
  persistence::ExpandSamplePlaceholder(text, KH_BUNDLE_DIR "samples/");
  return text;
}

std::string GetChunk(plugin::Vst& effect, bool isPreset) {
  vst::AEffect* aeffect = effect.getAeffect();
  void* data = nullptr;
  const intptr_t size = aeffect->dispatcher(aeffect, vst::effGetChunk, isPreset ? 1 : 0, 0, &data, 0.0f);
  if (data == nullptr || size <= 0) {
    ADD_FAILURE() << "no chunk";
    return {};
  }
  const auto* bytes = static_cast<const char*>(data);
  EXPECT_EQ(bytes[size - 1], '\0') << "the size counts the NUL byte";
  return std::string(bytes, static_cast<size_t>(size - 1));
}

intptr_t SetChunk(plugin::Vst& effect, std::string_view bytes, bool isPreset) {
  vst::AEffect* aeffect = effect.getAeffect();
  return aeffect->dispatcher(aeffect, vst::effSetChunk, isPreset ? 1 : 0, static_cast<intptr_t>(bytes.size()),
                             const_cast<char*>(bytes.data()), 0.0f);
}

void WriteDefaultPreset(const testhost::TempFolder& folder, const std::string& text) {
  persistence::ProgramFile program;
  program.fxId = ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w';
  program.chunk = text + '\0';
  const std::string path = persistence::DefaultPresetPath(folder.path());
  folder.write(path.substr(folder.path().size()), persistence::WriteProgramFile(program));
}

std::unique_ptr<plugin::Vst> EffectInFolder::CreateEffect() {
  auto fakeLoader = [this](engine::Kit& kit, uint8_t note, const std::string& path) {
    loads.push_back({note, path});
    kit.holder(note).setPath(path);
    return false;
  };
  return std::make_unique<plugin::Vst>(nullptr, plugin::EffectEnvironment{folder.path(), fakeLoader});
}

}  // namespace persistencetest
