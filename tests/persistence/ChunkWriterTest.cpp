// The project text an effect hands to the host, setting by setting (a whole text is compared by the
// start-up and reader suites).
#include <gtest/gtest.h>

#include "EffectInFolder.h"
#include "support/NativePath.h"

namespace persistencetest {
namespace {

using ChunkWriter = EffectInFolder;

TEST_F(ChunkWriter, WritesEverySettingInItsForm) {
  auto effect = createEffect();
  engine::DrumEngine& engine = effect->instrument().engine();
  engine::SampleHolder& snare = engine.kit().holder(40);
  snare.setName("Snare");
  snare.setLengthFraction(0.333f);
  snare.setMuteState(engine::kMutedBySolo);
  snare.setPitch(-12);
  snare.setVolume(0.756f);
  snare.setPan(0.123f);
  snare.setSwing(true);
  engine.kit().holder(41).setMuteState(engine::kMuted);
  engine.kitPlayer().setMasterLevel(123.0f);
  engine.kitPlayer().setDownmix(true);
  engine.patterns().setSwingAmount(0.005f);
  engine.patterns().setSequencerModeSetting(3);
  engine.clock().selectPattern(23);
  engine.setSyncMode(engine::SyncMode::Midi);

  const std::string text = GetChunk(*effect);
  EXPECT_EQ(GetChunk(*effect, true), text) << "a preset is the same text";
  EXPECT_NE(text.find("\nsmp2;40;Snare;;0.33;muted_by_solo;-12;0.76;0.12;swing;\n"), std::string::npos);
  EXPECT_NE(text.find("\nsmp2;41;;;1;muted;0;1;0.5;no_swing;\n"), std::string::npos);
  EXPECT_NE(text.find("\nsyn1;1.2e+02;downmix;\n"), std::string::npos);
  EXPECT_NE(text.find("\nseq2;0.005;3;23;\nvst1;Midi;\n\n#"), std::string::npos);
}

TEST_F(ChunkWriter, PatternsOfOtherResolutionWriteEveryHolderInNoteThenPatternOrder) {
  auto effect = createEffect();
  engine::PatternStore& patterns = effect->instrument().engine().patterns();
  patterns.setResolution(5, 32);
  patterns.setCell(1, 2, 127, 11);
  patterns.setCell(0x100, 3, 0, 0);  // only the low byte makes a cell sound

  const std::string text = GetChunk(*effect);
  std::vector<std::string> expected;
  for (int note = 36; note <= 46; ++note) expected.push_back(PatternRecord(5, note, 32, ""));
  expected.push_back(PatternRecord(2, 47, 16, std::string(127, '0') + "1"));
  expected.push_back(PatternRecord(5, 47, 32, ""));
  std::string records;
  for (const std::string& record : expected) records += record + "\n";
  EXPECT_NE(text.find("syn1;0.75;no_downmix;\n" + records + "seq2;"), std::string::npos);
}

TEST_F(ChunkWriter, PlaceholderStandsOnlyForTheExactSamplesFolder) {
  auto effect = createEffect();
  engine::Kit& kit = effect->instrument().engine().kit();
  const std::string samples = effect->instrument().samplesFolder();
  std::string upperCase = samples;
  upperCase[upperCase.size() - 3] = 'E';  // "samplEs" and the separator
  kit.holder(36).setPath(samples + testhost::NativePath("Factory/Kick.wav"));
  kit.holder(37).setPath(upperCase + "Factory/Rim.wav");
  kit.holder(38).setPath("/elsewhere/snare.wav");
  kit.holder(39).setName("named " + samples + testhost::NativePath("x/y"));

  const std::string text = GetChunk(*effect);
  EXPECT_NE(text.find("smp2;36;;\\$VST_SAMPLE_DIR$\\Factory\\Kick.wav;"), std::string::npos);
  EXPECT_NE(text.find("smp2;37;;" + upperCase + "Factory/Rim.wav;"), std::string::npos);
  EXPECT_NE(text.find("smp2;38;;/elsewhere/snare.wav;"), std::string::npos);
  EXPECT_NE(text.find("smp2;39;named \\$VST_SAMPLE_DIR$\\x\\y;;"), std::string::npos);
  EXPECT_EQ(text.find(samples), std::string::npos);
}

}  // namespace
}  // namespace persistencetest
