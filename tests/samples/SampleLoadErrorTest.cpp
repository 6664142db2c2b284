// Files that cannot be loaded: the user is told why, and the holder keeps playing what it had.
#include <gtest/gtest.h>
#include <malloc.h>
#include <sndfile.h>
#ifndef _WIN32
#include <sys/resource.h>
#endif

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "samples/SampleLoader.h"
#include "support/MessageCapture.h"

namespace {

using sampletest::HolderSamples;
using testhost::TempFolder;

constexpr uint8_t kNote = 40;

const std::string kMissingTail =
    " \ndoes not exist.\n\nMaybe you have copied a project from another computer or moved your samples? In some "
    "Hosts it is possible to rescue this situation by editing the .fxb file manually.Be sure to make a backup of "
    "the project file first. Search the file for the string \"Kestrelhollow\"And follow the instructions found "
    "there carefully.";
const std::string kWavTail =
    " \nis broken or is on a format that can't be read by Kestrelhollow and could not be loaded.\n\nThis problem "
    "may be a result of a bad/unknown chunk in the wav file.\n\nYou can try to solve this problem by converting "
    "the sample.\nYou can for example use:\n\n  shntool.exe strip sample.wav\n\nAnd see if the generated sample "
    "works better.\nYou can find shntool at http://www.etree.org/shnutils/shntool/";
const std::string kUnreadableTail = " \nis of a unknown format or is broken and could not be loaded.";

class SampleLoadErrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(samples::LoadSample(kit, kNote, sampletest::WriteTestWav(folder, "previous.wav", 300, 2), false));
    holder().setName("Shaker");
    previous = HolderSamples(holder());
    messages.clear();
  }

  engine::SampleHolder& holder() { return kit.holder(kNote); }

  // A failed load shows one message and changes only the holder's path and name.
  void ExpectRefused(const std::string& path, const std::string& textTail) {
    EXPECT_FALSE(samples::LoadFile(holder(), "Renamed", path, true));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "Sample load error");
    EXPECT_EQ(messages.messages()[0].text, "The file: \"" + path + "\"" + textTail);
    EXPECT_EQ(holder().path(), path);
    EXPECT_EQ(holder().name(), "Renamed");
    EXPECT_EQ(HolderSamples(holder()), previous);
    EXPECT_EQ(holder().length(), 300u);
    EXPECT_EQ(holder().end(), 300u);
    EXPECT_FALSE(holder().isEmpty());
    EXPECT_FALSE(holder().isPreviewPlaying());
    // The file information still describes the sample being played.
    EXPECT_EQ(holder().fileInfo().frames, 300);
    EXPECT_EQ(holder().fileInfo().channels, 2);
    messages.clear();
  }

  TempFolder folder;
  testhost::MessageCapture messages;
  engine::Kit kit;
  std::vector<float> previous;
};

TEST_F(SampleLoadErrorTest, MissingFileIsNamed_AndThePreviousSampleStillPlays) {
  const std::string path = folder.file("gone/Snare 2.wav");
  ExpectRefused(path, kMissingTail);
  holder().startPreview();
  EXPECT_FLOAT_EQ(holder().renderFrame().right, sampletest::TestValue(0, 1));
}

TEST_F(SampleLoadErrorTest, BrokenFileMessageDependsOnTheUpperCasedExtension) {
  for (const char* name : {"broken.wav", "broken.Wav", "broken.WAV"}) {
    sampletest::WriteGarbage(folder.file(name));
    ExpectRefused(folder.file(name), kWavTail);
  }
  for (const char* name : {"broken.aif", "broken", "broken.wav.bak"}) {
    sampletest::WriteGarbage(folder.file(name));
    ExpectRefused(folder.file(name), kUnreadableTail);
  }
}

TEST_F(SampleLoadErrorTest, PathTooLongForTheFileCallsIsRefusedAsUnreadable) {
  std::string path = folder.path();
  while (!platform::PathIsTooLong(path)) path += std::string("deeper") + platform::kPathSeparator;
  ExpectRefused(path + "kick.wav", kUnreadableTail);
}

TEST_F(SampleLoadErrorTest, FullStopInAFolderNameIsNoExtension) {
  folder.addFolder("kit.wav");
  const std::string path = folder.file("kit.wav/broken");
  sampletest::WriteGarbage(path);
  ExpectRefused(path, kUnreadableTail);
}

// A FLAC file whose header promises more frames than it holds.
std::string WriteFlacPromising(const TempFolder& folder, int channels, uint64_t promisedFrames) {
  const std::string path = folder.file("promise.flac");
  testhost::WriteSoundFile(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, channels, sampletest::TestSignal(1000, channels));
  sampletest::SetFlacFrameCount(path, promisedFrames);
  return path;
}

// Fresh allocations come filled with the byte (0 turns it off), as reused memory would be; only
// the GNU C library offers it.
void FillFreshAllocations(int byte) {
#ifdef M_PERTURB
  mallopt(M_PERTURB, byte);
#else
  (void)byte;
#endif
}

TEST_F(SampleLoadErrorTest, FileShorterThanItsHeaderPlaysSilenceForTheMissingPart) {
  const std::string path = WriteFlacPromising(folder, 1, 3000);
  FillFreshAllocations(0x55);
  const bool loaded = samples::LoadSample(kit, kNote, path, false);
  FillFreshAllocations(0);
  ASSERT_TRUE(loaded);
  EXPECT_TRUE(messages.messages().empty());
  ASSERT_EQ(holder().length(), 3000u);
  const std::vector<float> played = HolderSamples(holder());
  ASSERT_EQ(played.size(), 3000u);
  for (int frame = 0; frame < 1000; ++frame) ASSERT_NEAR(played[frame], sampletest::TestValue(frame, 0), 1e-4) << frame;
  for (int frame = 1000; frame < 3000; ++frame) ASSERT_EQ(played[frame], 0.0f) << frame;
}

TEST_F(SampleLoadErrorTest, SizeBeyondThirtyTwoBitsIsRefusedAsUnreadable) {
  // Frames x channels beyond 32 bits, then frames alone beyond 32 bits.
  ExpectRefused(WriteFlacPromising(folder, 2, (uint64_t{1} << 31) + 5), kUnreadableTail);
  ExpectRefused(WriteFlacPromising(folder, 1, (uint64_t{1} << 32) + 1000), kUnreadableTail);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

#ifndef _WIN32
// Runs in a child process whose address space is capped, so the sample array cannot be had.
// (Windows has no such cap a process can set on itself.)
TEST_F(SampleLoadErrorTest, ArrayThatCannotBeAllocatedIsRefusedAsUnreadable) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers need an uncapped address space";
  const std::string path = WriteFlacPromising(folder, 1, 0xF0000000u);  // 15 GiB of floats
  EXPECT_EXIT(
      {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = rlim_t{2} << 30;
        setrlimit(RLIMIT_AS, &limit);
        ExpectRefused(path, kUnreadableTail);
        std::exit(::testing::Test::HasFailure() ? 1 : 0);
      },
      ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
