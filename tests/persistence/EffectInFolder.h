// An effect created in a temporary plug-in folder, driven through its dispatcher as a host
// does, with a sample loader that only records what it was asked to load; and project texts
// spelled out line by line, independently of the writer's own constants.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/DrumEngine.h"
#include "persistence/DefaultPreset.h"
#include "persistence/Placeholders.h"
#include "persistence/ProgramFile.h"
#include "plugin/Vst.h"
#include "support/TempFolder.h"
#include "support/MessageCapture.h"

namespace persistencetest {

constexpr int32_t kEffectId = ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w';

// A version 2.0 text: header, the given record lines, padding and end marker.
inline std::string VersionTwoText(const std::vector<std::string>& records) {
  std::string text =
      "\nKestrelhollow Data Version 2.0\n================================\n"
      "# If you edit this data manually take away the same numbers of # at the end of the\n"
      "# configuration as you add (to make sure the file size does not differ).\n#\n";
  for (const std::string& record : records) text += record + "\n";
  text += "\n";
  for (int line = 0; line < 14; ++line) text += std::string(91, '#') + "\n";
  return text + "Kestrelhollow Data ends here\n";
}

// "smp2" record of a holder with default settings.
inline std::string DefaultHolderRecord(int note, const std::string& name = "", const std::string& path = "") {
  return "smp2;" + std::to_string(note) + ";" + name + ";" + path + ";1;not_muted;0;1;0.5;no_swing;";
}

// A "seq1" record: the steps given as 128 (or fewer, rest silent) characters '1' and '0'.
inline std::string PatternRecord(int pattern, int note, int resolution, const std::string& steps) {
  std::string record =
      "seq1;" + std::to_string(pattern) + ";" + std::to_string(note) + ";" + std::to_string(resolution) + ";";
  for (size_t step = 0; step < 128; ++step) record += std::string(1, step < steps.size() ? steps[step] : '0') + ";";
  return record;
}

// The text of a state after a reset.
inline std::string DefaultText() {
  std::vector<std::string> records;
  for (int note = 36; note <= 47; ++note) records.push_back(DefaultHolderRecord(note));
  records.insert(records.end(), {"syn1;0.75;no_downmix;", "seq2;0.5;0;0;", "vst1;Hsync;"});
  return VersionTwoText(records);
}

// The text with the first occurrence of each `from` replaced by its `to` (one that is not there throws).
inline std::string Edited(std::string text, const std::vector<std::pair<std::string, std::string>>& edits) {
  for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
  return text;
}

// The effect's chunk text through effGetChunk, without its NUL byte (checked to be there).
inline std::string GetChunk(plugin::Vst& effect, bool isPreset = false) {
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

// Hands the bytes to the effect through effSetChunk; the result of the dispatcher.
inline intptr_t SetChunk(plugin::Vst& effect, std::string_view bytes) {
  vst::AEffect* aeffect = effect.getAeffect();
  return aeffect->dispatcher(aeffect, vst::effSetChunk, 0, static_cast<intptr_t>(bytes.size()),
                             const_cast<char*>(bytes.data()), 0.0f);
}

struct LoadRequest {
  uint8_t note;
  std::string path;
};

class EffectInFolder : public ::testing::Test {
 protected:
  // An effect whose plug-in directory is the temporary folder.
  std::unique_ptr<plugin::Vst> createEffect() {
    auto fakeLoader = [this](engine::Kit& kit, uint8_t note, const std::string& path) {
      loads.push_back({note, path});
      kit.holder(note).setPath(path);
      return false;
    };
    return std::make_unique<plugin::Vst>(nullptr, plugin::EffectEnvironment{folder.path(), fakeLoader});
  }
  // The program file with the text as its chunk, at the default preset's place below the folder.
  void writeDefaultPreset(const std::string& text) const {
    persistence::ProgramFile program;
    program.fxId = kEffectId;
    program.chunk = text + '\0';
    const std::string path = persistence::DefaultPresetPath(folder.path());
    folder.write(path.substr(folder.path().size()), persistence::WriteProgramFile(program));
  }

  testhost::TempFolder folder;
  testhost::MessageCapture messages;
  // What the effect asked to load, in order. The fake records the path in the holder, as
  // the real loader does, and loads nothing.
  std::vector<LoadRequest> loads;
};

}  // namespace persistencetest
