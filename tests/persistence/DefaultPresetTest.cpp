// The bundle's default preset, loaded by the plug-in module as a host loads it.
#include <gtest/gtest.h>

#include <string>

#include "EffectInFolder.h"
#include "persistence/DefaultPreset.h"
#include "persistence/ProgramFile.h"
#include "instrument/Instrument.h"
#include "support/MessageCapture.h"
#include "support/TestHost.h"

namespace persistencetest {
namespace {

TEST(DefaultPreset, IsAProgramFileOfThisEffectThatANewInstanceOfTheModuleReports) {
  const auto program =
      persistence::ParseProgramFile(testhost::ReadBytes(persistence::DefaultPresetPath(KH_BUNDLE_DIR)), nullptr);
  ASSERT_TRUE(program.has_value());
  EXPECT_FALSE(program->isBank);
  EXPECT_EQ(program->fxId, ('k' << 24) | ('s' << 16) | ('h' << 8) | 'w');
  EXPECT_EQ(program->chunk.back(), '\0');
  EXPECT_EQ(program->chunk.find(KH_BUNDLE_DIR), std::string::npos) << "the bundle's paths stand behind the placeholder";

  testhost::TestHost host;
  ASSERT_TRUE(host.loadModule());
  void* data = nullptr;
  const intptr_t size = host.dispatch(vst::effGetChunk, 0, 0, &data);
  ASSERT_GT(size, 0);
  EXPECT_EQ(std::string(static_cast<const char*>(data), static_cast<size_t>(size)), program->chunk);
}

TEST(DefaultPreset, NewInstrumentLoadsTheFactoryKitAndTheGroove) {
  testhost::MessageCapture messages;
  instrument::Instrument instrument({KH_BUNDLE_DIR, {}});
  EXPECT_TRUE(messages.messages().empty());
  const engine::Kit& kit = instrument.engine().kit();
  for (uint8_t note = engine::kFirstNote; note <= engine::kLastNote; ++note) {
    EXPECT_FALSE(kit.holder(note).isEmpty()) << kit.holder(note).path();
    EXPECT_FALSE(kit.holder(note).name().empty());
  }
  const engine::PatternStore& patterns = instrument.engine().patterns();
  EXPECT_EQ(instrument.engine().clock().currentPattern(), 0);
  EXPECT_TRUE(patterns.cellSounds(0, 0, 0));
  EXPECT_FLOAT_EQ(instrument.engine().editorState().swingAmount, patterns.swingAmount());
}

}  // namespace
}  // namespace persistencetest
