// The bundle's default preset, loaded by the plug-in module as a host loads it.
#include <gtest/gtest.h>

#include <string>

#include "EffectInFolder.h"
#include "persistence/DefaultPreset.h"
#include "persistence/ProgramFile.h"
#include "plugin/Vst.h"
#include "support/MessageCapture.h"
#include "support/TestHost.h"

namespace persistencetest {
namespace {

TEST(DefaultPreset, IsAProgramFileOfThisEffectWithAGrooveAndTheFactoryKit) {
  const auto program =
      persistence::ParseProgramFile(testhost::ReadBytes(persistence::DefaultPresetPath(KH_BUNDLE_DIR)), nullptr);
  ASSERT_TRUE(program.has_value());
  EXPECT_FALSE(program->isBank);
  EXPECT_EQ(program->fxId, ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w');
  EXPECT_EQ(program->fxVersion, 1);
  const std::string& chunk = program->chunk;
  EXPECT_EQ(chunk.rfind("\nKestrelhollow Data Version 2.0\n", 0), 0u);
  EXPECT_EQ(chunk.back(), '\0');
  EXPECT_NE(chunk.find("smp2;36;Kick;\\$VST_SAMPLE_DIR$\\Factory\\Kick.wav;"), std::string::npos);
  EXPECT_NE(chunk.find("\nseq1;0;36;16;1;"), std::string::npos);
  EXPECT_NE(chunk.find(";swing;"), std::string::npos);
  EXPECT_EQ(chunk.find(KH_BUNDLE_DIR), std::string::npos);
}

TEST(DefaultPreset, NewInstanceOfTheModuleReportsItsText) {
  testhost::TestHost host;
  ASSERT_TRUE(host.loadModule());
  void* data = nullptr;
  const intptr_t size = host.dispatch(vst::effGetChunk, 0, 0, &data);
  ASSERT_GT(size, 0);
  const std::string text(static_cast<const char*>(data), static_cast<size_t>(size));
  const auto program =
      persistence::ParseProgramFile(testhost::ReadBytes(persistence::DefaultPresetPath(KH_BUNDLE_DIR)), nullptr);
  ASSERT_TRUE(program.has_value());
  EXPECT_EQ(text, program->chunk);
}

TEST(DefaultPreset, NewEffectLoadsTheFactoryKitAndTheGroove) {
  testhost::MessageCapture messages;
  plugin::Vst effect(nullptr, plugin::EffectEnvironment{KH_BUNDLE_DIR, {}});
  EXPECT_TRUE(messages.messages().empty());
  const engine::Kit& kit = effect.engine().kit();
  for (uint8_t note = engine::kFirstNote; note <= engine::kLastNote; ++note) {
    EXPECT_FALSE(kit.holder(note).isEmpty()) << kit.holder(note).path();
    EXPECT_FALSE(kit.holder(note).name().empty());
  }
  const engine::StepSequencer& sequencer = effect.engine().sequencer();
  EXPECT_EQ(sequencer.currentPattern(), 0);
  EXPECT_TRUE(sequencer.cellSounds(0, 0, 0));
  EXPECT_FLOAT_EQ(effect.engine().editorState().swingAmount, sequencer.swingAmount());
}

}  // namespace
}  // namespace persistencetest
