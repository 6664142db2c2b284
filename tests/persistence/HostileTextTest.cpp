// Project texts built to hurt: huge, slow to expand, repetitive, or with numbers far outside
// their controls. Each loads (or is refused) with the model intact and the memory bounded.
#include <gtest/gtest.h>

#include <cmath>

#include "EffectInFolder.h"
#include "ExpectedText.h"
#include "platform/Paths.h"
#include "support/AllocationCounter.h"
#include "support/ChildProcess.h"

namespace persistencetest {
namespace {

constexpr std::string_view kPlaceholder = "\\$VST_SAMPLE_DIR$\\";

class HostileText : public EffectInFolder {
 protected:
  void SetUp() override { effect = CreateEffect(); }
  engine::DrumEngine& engine() { return engineOf(*effect); }
  engine::SampleHolder& holder(uint8_t note) { return engine().kit().holder(note); }

  std::unique_ptr<plugin::Vst> effect;
};

std::string Repeated(std::string_view piece, size_t count) {
  std::string text;
  text.reserve(piece.size() * count);
  for (size_t i = 0; i < count; ++i) text += piece;
  return text;
}

TEST_F(HostileText, PlaceholdersWithoutFieldEndsExpandInOnePass) {
  // One field of 64 KB of placeholders and backslashes: every placeholder becomes the folder,
  // every backslash after it this system's separator. A refused text of the same kind is refused
  // untouched.
  const std::string placeholders = Repeated(std::string(kPlaceholder) + "a\\", 3600);
  SetChunk(*effect, VersionTwoText({"smp2;36;Many;" + placeholders + ";1;not_muted;0;1;0.5;no_swing;"}));
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(loads[0].path, Repeated(effect->instrument().samplesFolder() + "a" + platform::kPathSeparator, 3600));
  EXPECT_TRUE(messages.messages().empty());

  SetChunk(*effect, "\nKestrelhollow Data Version 9.9\n" + Repeated(kPlaceholder, 60000));
  EXPECT_EQ(messages.count("Error"), 1u);
}

#ifndef _WIN32
// Windows has no data-size limit a process can set on itself (nor fork).
TEST_F(HostileText, MegabytesOfLineFeedsStayWithinASmallMultipleOfTheirSize) {
  if (!testhost::kAllocationsCounted) GTEST_SKIP() << "address limits do not mix with sanitizer runtimes";
  const std::string text = VersionTwoText({"vst1;Run;"}) + std::string(20'000'000, '\n') + "vst1;Midi;\n";
  // Within four times the text: a list of every line took 24.
  EXPECT_TRUE(testhost::SucceedsWithinDataGrowth(4 * text.size(), [&] {
    return SetChunk(*effect, text) == 1 && engine().syncMode() == engine::SyncMode::Midi;
  }));
}
#endif

TEST_F(HostileText, EachHolderLoadsOnlyFromItsLastRecordNamingAFile) {
  std::vector<std::string> records;
  for (int i = 0; i < 2000; ++i) records.push_back(DefaultHolderRecord(36 + i % 2, "n", "/x" + std::to_string(i)));
  records.push_back(DefaultHolderRecord(37, "Last", ""));
  SetChunk(*effect, VersionTwoText(records));
  ASSERT_EQ(loads.size(), 2u);
  EXPECT_EQ(loads[0].note, 36);
  EXPECT_EQ(loads[0].path, "/x1998");
  EXPECT_EQ(loads[1].note, 37);
  EXPECT_EQ(loads[1].path, "/x1999");
  // The name comes from the last record all the same.
  EXPECT_EQ(holder(37).name(), "Last");
  EXPECT_EQ(holder(37).path(), "/x1999");
}

TEST_F(HostileText, NumbersAreKeptInsideTheirControlsRanges) {
  SetChunk(*effect, VersionTwoText({"smp2;36;Loud;;3e38;not_muted;100;3e38;-7;no_swing;",
                                    "smp2;37;Quiet;;-1;not_muted;-100;-3e38;1000;no_swing;", "syn1;1000;no_downmix;",
                                    "seq2;1e9;0;0;"}));
  EXPECT_FLOAT_EQ(holder(36).lengthFraction(), 1.0f);
  EXPECT_EQ(holder(36).pitch(), 12);
  EXPECT_FLOAT_EQ(holder(36).volume(), 1.0f);
  EXPECT_FLOAT_EQ(holder(36).pan(), 0.0f);
  EXPECT_FLOAT_EQ(holder(37).lengthFraction(), 0.0f);
  EXPECT_EQ(holder(37).pitch(), -12);
  EXPECT_FLOAT_EQ(holder(37).volume(), 0.0f);
  EXPECT_FLOAT_EQ(holder(37).pan(), 1.0f);
  EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), 1.0f);
  EXPECT_FLOAT_EQ(engine().patterns().swingAmount(), 1.0f);
  EXPECT_FLOAT_EQ(engine().editorState().swingAmount, 1.0f);

  SetChunk(*effect, VersionTwoText({"syn1;-1;no_downmix;", "seq2;-1e9;0;0;"}));
  EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), 0.0f);
  EXPECT_FLOAT_EQ(engine().patterns().swingAmount(), 0.0f);

  // Beyond a float's range too.
  SetChunk(*effect, VersionTwoText({"syn1;1e308;no_downmix;", "seq2;-1e999;0;0;"}));
  EXPECT_FLOAT_EQ(engine().kitPlayer().masterLevel(), 1.0f);
  EXPECT_FLOAT_EQ(engine().patterns().swingAmount(), 0.0f);
}

}  // namespace
}  // namespace persistencetest
