// The render tool's parts on their own: its edits of a project text (the modes and the current
// pattern, nothing else), and what may go into the files that one render writes.
#include "ProjectText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <limits>

#include "AudioOutput.h"
#include "Failure.h"
#include "support/TempFolder.h"

namespace render {
namespace {

const std::string kText =
    "\nKestrelhollow Data Version 2.0\n====\n#\nsmp2;36;Kick;/x/kick.wav;1;not_muted;0;1;0.5;no_swing;\n"
    "seq2;0.75;2;5;\nvst1;Hsync;\n\n####\nKestrelhollow Data ends here\n";

TEST(ProjectTextTest, ModeAndPatternReplaceTheirFieldsOnly_MissingRecordsAreAddedAfterTheVersionLine) {
  std::string expected = kText;
  expected.replace(expected.find("vst1;Hsync;"), 11, "vst1;Midi;");
  expected.replace(expected.find("seq2;0.75;2;5;"), 14, "seq2;0.75;2;13;");
  EXPECT_EQ(WithCurrentPattern(WithSyncMode(kText, SyncMode::Midi), 13), expected);
  const std::string bare = "\nKestrelhollow Data Version 2.0\nsmp2;36;;;1;not_muted;0;1;0.5;no_swing;\n";
  EXPECT_EQ(WithSoundMode(WithCurrentPattern(WithSyncMode(bare, SyncMode::Run), 3), SoundMode::Tuned),
            "\nKestrelhollow Data Version 2.0\nsnd1;Tuned;\nseq2;0.5;0;3;\nvst1;Run;\n"
            "smp2;36;;;1;not_muted;0;1;0.5;no_swing;\n");
  // The reader takes the last of repeated records, so each must carry the new value; short ones are padded.
  EXPECT_EQ(WithSyncMode("\nKestrelhollow Data Version 1.1\nvst1;Run;\nvst1\n", SyncMode::Stop),
            "\nKestrelhollow Data Version 1.1\nvst1;Stop;\nvst1;Stop;\n");
  EXPECT_EQ(WithSoundMode("\nV\nsnd1;Tuned;\nsnd1\n", SoundMode::Classic), "\nV\nsnd1;Classic;\nsnd1;Classic;\n");
}

TEST(ProjectTextTest, RecognisesTheVersionLineAndTheChunkEnd) {
  EXPECT_TRUE(LooksLikeProjectText(kText));
  EXPECT_FALSE(LooksLikeProjectText("Kestrelhollow Data Version 2.0\n"));  // the empty first line is missing
  EXPECT_FALSE(LooksLikeProjectText("RIFF....WAVE"));
  EXPECT_EQ(TextOfChunk(ChunkOfText(kText)), kText);
  EXPECT_EQ(ChunkOfText("ab").size(), 3u);
}

// A plug-in's NaN or infinity fails the render with that reason, whatever the file, and
// leaves no file behind.
TEST(AudioOutputValues, AudioThatIsNotFiniteFailsTheRenderAndSaysSo) {
  const testhost::TempFolder folder;
  for (const float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()}) {
    for (const char* name : {"out.flac", "out.wav"}) {
      AudioOutput output(folder.file(name), OutputLayout::StereoSum, 4, 48000, 1024);
      std::vector<std::vector<float>> block(4, std::vector<float>(512, 0.25f));
      output.write(block, 512);
      block[2][37] = bad;
      try {
        output.write(block, 512);
        ADD_FAILURE() << name << " accepted " << bad;
      } catch (const Failure& failure) {
        EXPECT_EQ(failure.code(), ExitCode::RenderFailed);
        EXPECT_STREQ(failure.what(), "The plug-in's output 3 is not finite (NaN or infinity) at frame 549");
      }
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

}  // namespace
}  // namespace render
