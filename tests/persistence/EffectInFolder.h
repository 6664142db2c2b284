// An effect created in a temporary plug-in folder, driven through its dispatcher as a host
// does, with a sample loader that only records what it was asked to load.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/DrumEngine.h"
#include "plugin/Vst.h"
#include "support/FileBytes.h"
#include "support/MessageCapture.h"
#include "support/TempFolder.h"

namespace persistencetest {

struct LoadRequest {
  uint8_t note;
  std::string path;
};

// The bundle's default preset text with the samples folder of the bundle in its paths.
std::string BundlePresetText();

// The effect's chunk text through effGetChunk, without its NUL byte (checked to be there).
std::string GetChunk(plugin::Vst& effect, bool isPreset = false);
// Hands the bytes to the effect through effSetChunk; the result of the dispatcher.
intptr_t SetChunk(plugin::Vst& effect, std::string_view bytes, bool isPreset = false);

// The program file with the text as its chunk, at the default preset's place below the folder.
void WriteDefaultPreset(const testhost::TempFolder& folder, const std::string& text);

class EffectInFolder : public ::testing::Test {
 protected:
  // An effect whose plug-in directory is the temporary folder.
  std::unique_ptr<plugin::Vst> CreateEffect();
  engine::DrumEngine& engineOf(plugin::Vst& effect) { return effect.instrument().engine(); }

  testhost::TempFolder folder;
  testhost::MessageCapture messages;
  // What the effect asked to load, in order. The fake records the path in the holder, as
  // the real loader does, and loads nothing.
  std::vector<LoadRequest> loads;
};

}  // namespace persistencetest
