// What a new effect takes from its plug-in folder: the editor scale, the default preset and
// the samples folder behind the placeholder; and the bundle's own default preset.
#include <gtest/gtest.h>

#include "EffectInFolder.h"
#include "instrument/Instrument.h"
#include "persistence/Configuration.h"
#include "platform/Files.h"
#include "support/NativePath.h"

namespace persistencetest {
namespace {

using Startup = EffectInFolder;

TEST_F(Startup, EditorScaleComesFromTheConfigurationFileAndIsStoredThere) {
  EXPECT_FLOAT_EQ(createEffect()->editorLink().scale(), 1.0f) << "without the file";
  const std::vector<std::pair<std::string, float>> cases{
      {"0.6", 0.6f}, {"0.7\n0.3\n", 0.7f}, {"1", 1.0f},    {"0.25", 1.0f}, {"0.26", 0.26f},
      {"1.5", 1.0f}, {"abc", 1.0f},        {"-0.5", 1.0f}, {"", 1.0f},     {"0.8\r\n", 0.8f},
  };
  for (const auto& [content, scale] : cases) {
    folder.write("Kestrelhollow.cfg", content);
    EXPECT_FLOAT_EQ(createEffect()->editorLink().scale(), scale) << '"' << content << '"';
  }
  // The scale is written with two digits.
  const std::string path = createEffect()->instrument().configurationFilePath();
  ASSERT_TRUE(persistence::WriteEditorScale(path, 0.666f));
  EXPECT_EQ(platform::ReadTextFile(path), "0.67");
  EXPECT_FLOAT_EQ(persistence::ReadEditorScale(path), 0.67f);
  EXPECT_FALSE(persistence::WriteEditorScale(folder.path() + "missing/Kestrelhollow.cfg", 0.8f));
}

TEST_F(Startup, NewEffectAppliesTheDefaultPresetOrReportsTheDefaultTextWithoutOne) {
  EXPECT_EQ(GetChunk(*createEffect()), DefaultText());
  const std::string preset =
      VersionTwoText({DefaultHolderRecord(36, "Kick", "\\$VST_SAMPLE_DIR$\\Factory\\Kick.wav"),
                      PatternRecord(0, 36, 16, "1000100010001000"), "seq2;0.3;0;0;", "vst1;Hsync;"});
  writeDefaultPreset(preset);
  auto effect = createEffect();
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, folder.path() + testhost::NativePath("samples/Factory/Kick.wav"));
  EXPECT_TRUE(messages.messages().empty());
  EXPECT_FLOAT_EQ(effect->instrument().engine().editorState().swingAmount, 0.3f);
  // Everything the preset did not set keeps its default, so the text comes back whole.
  EXPECT_EQ(GetChunk(*effect),
            Edited(DefaultText(), {{"smp2;36;;;", "smp2;36;Kick;\\$VST_SAMPLE_DIR$\\Factory\\Kick.wav;"},
                                   {"seq2;0.5;", PatternRecord(0, 36, 16, "1000100010001000") + "\nseq2;0.3;"}}));
}

TEST_F(Startup, DefaultPresetIsAppliedToItsEndMarkerOrItsEnd_AnOldOneWarnsAndOneWithoutMarkerIsIgnored) {
  std::string withoutEndMarker = VersionTwoText({"vst1;Midi;"});
  withoutEndMarker.erase(withoutEndMarker.find("Kestrelhollow Data ends here"));
  const struct {
    std::string text;
    engine::SyncMode mode;
    const char* message;  // the caption of the one message, if any
  } cases[] = {
      {withoutEndMarker + "vst1;Run;\n", engine::SyncMode::Run, nullptr},  // the record after the padding counts
      {"\nKestrelhollow Data Version 1.1\nvst1;Stop;\n", engine::SyncMode::Stop, "Warning"},
      {"\nKestrelhollow Data Version\nvst1;Stop;\n", engine::SyncMode::Hsync, "Error"},
      {"no text in here", engine::SyncMode::Hsync, nullptr},
  };
  for (const auto& each : cases) {
    SCOPED_TRACE(each.text.substr(0, 40));
    messages.clear();
    writeDefaultPreset(each.text);
    EXPECT_EQ(createEffect()->instrument().engine().syncMode(), each.mode);
    ASSERT_EQ(messages.messages().size(), each.message ? 1u : 0u);
    if (each.message) {
      EXPECT_EQ(messages.messages()[0].caption, each.message);
    }
  }
  // The text runs from the version marker to the end marker; an end marker before it does not count.
  EXPECT_EQ(persistence::ExtractPresetText("xx\nKestrelhollow Data Version 2.0\nabc\nKestrelhollow Data ends here\nzz"),
            "\nKestrelhollow Data Version 2.0\nabc\n\n");
  EXPECT_EQ(persistence::ExtractPresetText("Kestrelhollow Data ends here Kestrelhollow Data Version 1.0\nq"),
            "\nKestrelhollow Data Version 1.0\nq\n");
  EXPECT_FALSE(persistence::ExtractPresetText("Kestrelhollow Data ends here").has_value());
}

// Only the exact samples folder, in paths and names alike, is written as the placeholder.
TEST_F(Startup, SamplePathsMoveBetweenPluginFoldersThroughTheExactPlaceholderOnly) {
  auto effect = createEffect();
  engine::Kit& kit = effect->instrument().engine().kit();
  const std::string samples = effect->instrument().samplesFolder();
  std::string upperCase = samples;
  upperCase[upperCase.size() - 3] = 'E';  // "samplEs" and the separator
  kit.holder(36).setPath(samples + testhost::NativePath("Kicks/kick01.wav"));
  kit.holder(37).setPath(upperCase + "Factory/Rim.wav");
  kit.holder(38).setPath("/elsewhere/snare.wav");
  kit.holder(39).setName("named " + samples + testhost::NativePath("x/y"));
  const std::string saved = GetChunk(*effect);
  EXPECT_NE(saved.find("smp2;36;;\\$VST_SAMPLE_DIR$\\Kicks\\kick01.wav;"), std::string::npos);
  EXPECT_NE(saved.find("smp2;37;;" + upperCase + "Factory/Rim.wav;"), std::string::npos);
  EXPECT_NE(saved.find("smp2;38;;/elsewhere/snare.wav;"), std::string::npos);
  EXPECT_NE(saved.find("smp2;39;named \\$VST_SAMPLE_DIR$\\x\\y;;"), std::string::npos);
  EXPECT_EQ(saved.find(samples), std::string::npos);

  testhost::TempFolder otherComputer;
  auto moved = std::make_unique<plugin::Vst>(nullptr, plugin::EffectEnvironment{otherComputer.path(), {}});
  SetChunk(*moved, saved);
  EXPECT_EQ(moved->instrument().engine().kit().holder(36).path(),
            otherComputer.path() + testhost::NativePath("samples/Kicks/kick01.wav"));
  EXPECT_EQ(messages.count("Sample load error"), 3u) << "the real loader reports the missing files";

  std::string text = "a;\\$vst_sample_dir$\\x;\\$VST_SAMPLE_DIR$\\d\\e;\\$VST_SAMPLE_DIR$\\f\n\\g";
  const std::string elsewhere = testhost::NativePath("/p/samples/");
  persistence::ExpandSamplePlaceholder(text, elsewhere);
  EXPECT_EQ(text, "a;\\$vst_sample_dir$\\x;" + elsewhere + testhost::NativePath("d/e;") + elsewhere + "f\n\\g");
  EXPECT_EQ(persistence::SamplesFolder(testhost::NativePath("/p/")), elsewhere);
}

// The bundle's preset is a program file of this effect (what a new instance of the module reports
// and plays is pinned by the golden test), and a new instrument loads its whole factory kit.
TEST(DefaultPreset, IsAProgramOfThisEffectAndLoadsTheFactoryKit) {
  const auto program =
      persistence::ParseProgramFile(testhost::ReadBytes(persistence::DefaultPresetPath(KH_BUNDLE_DIR)), nullptr);
  ASSERT_TRUE(program.has_value());
  EXPECT_FALSE(program->isBank);
  EXPECT_EQ(program->fxId, kEffectId);
  EXPECT_EQ(program->chunk.find(KH_BUNDLE_DIR), std::string::npos) << "the bundle's paths stand behind the placeholder";
  testhost::MessageCapture messages;
  instrument::Instrument instrument({KH_BUNDLE_DIR, {}});
  EXPECT_TRUE(messages.messages().empty());
  for (uint8_t note = engine::kFirstNote; note <= engine::kLastNote; ++note) {
    EXPECT_FALSE(instrument.engine().kit().holder(note).isEmpty()) << instrument.engine().kit().holder(note).path();
    EXPECT_FALSE(instrument.engine().kit().holder(note).name().empty());
  }
}

}  // namespace
}  // namespace persistencetest
