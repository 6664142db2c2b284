// Files that cannot be loaded: the user is told why, and the holder keeps playing what it had.
#include <gtest/gtest.h>
#include <sndfile.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdlib>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "instrument/Instrument.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "samples/SampleLoader.h"
#include "support/FileBytes.h"
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
const std::string kTooLongTail =
    " \nis longer than a sample may be and could not be loaded.\n\nA sample holds at most 256 MB of sample data, "
    "about 11 minutes of stereo at 48 kHz (of more than two channels the first two are kept). Shorten the file or "
    "split it into parts.";

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
  folder.addFolder("kit.wav");
  const std::vector<std::pair<std::string, std::string>> cases{
      {"broken.wav", kWavTail},       {"broken.Wav", kWavTail}, {"broken.WAV", kWavTail},
      {"broken.aif", kUnreadableTail}, {"broken", kUnreadableTail}, {"broken.wav.bak", kUnreadableTail},
      {"kit.wav/broken", kUnreadableTail},  // a full stop in a folder name is no extension
  };
  for (const auto& [name, tail] : cases) {
    SCOPED_TRACE(name);
    sampletest::WriteGarbage(folder.file(name));
    ExpectRefused(folder.file(name), tail);
  }
}

TEST_F(SampleLoadErrorTest, PathTooLongForTheFileCallsIsRefusedAsUnreadable) {
  std::string path = folder.path();
  while (!platform::PathIsTooLong(path)) path += std::string("deeper") + platform::kPathSeparator;
  ExpectRefused(path + "kick.wav", kUnreadableTail);
}

// A FLAC file whose header promises more frames than it holds.
std::string WriteFlacPromising(const TempFolder& folder, int channels, uint64_t promisedFrames) {
  const std::string path = folder.file("promise.flac");
  testhost::WriteSoundFile(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, channels, sampletest::TestSignal(1000, channels));
  sampletest::SetFlacFrameCount(path, promisedFrames);
  return path;
}

TEST_F(SampleLoadErrorTest, FileShorterThanItsHeaderEndsWhereItsDataEnds) {
  ASSERT_TRUE(samples::LoadSample(kit, kNote, WriteFlacPromising(folder, 1, 3000), false));
  EXPECT_TRUE(messages.messages().empty());
  ASSERT_EQ(holder().length(), 1000u);
  EXPECT_EQ(holder().fileInfo().frames, 1000);
  const std::vector<float> played = HolderSamples(holder());
  ASSERT_EQ(played.size(), 1000u);
  for (int frame = 0; frame < 1000; ++frame) ASSERT_NEAR(played[frame], sampletest::TestValue(frame, 0), 1e-4) << frame;
}

TEST_F(SampleLoadErrorTest, ClaimBeyondWhatAHolderTakesIsRefusedFromTheHeader) {
  // 256 MB of floats of the first two channels at most: a mono frame more than 64 Mi, a
  // stereo frame more than 32 Mi; ten minutes at 192 kHz (115.2 M frames) of more channels
  // than two, counted as two; frames beyond 32 bits. Each is refused before a frame is decoded.
  ExpectRefused(WriteFlacPromising(folder, 1, (uint64_t{1} << 26) + 1), kTooLongTail);
  ExpectRefused(WriteFlacPromising(folder, 2, (uint64_t{1} << 25) + 1), kTooLongTail);
  ExpectRefused(WriteFlacPromising(folder, 3, 600 * 192000), kTooLongTail);
  ExpectRefused(WriteFlacPromising(folder, 1, (uint64_t{1} << 32) + 1000), kTooLongTail);
  // A FLAC file of nothing but its 42-byte header, claiming 2^32 - 1 frames.
  const std::string path = folder.file("header-only.flac");
  std::string header = testhost::ReadBytes(WriteFlacPromising(folder, 1, 0xFFFFFFFFu)).substr(0, 42);
  header[4] = static_cast<char>(0x80 | header[4]);  // the stream information is the last block
  folder.write("header-only.flac", header);
  ExpectRefused(path, kTooLongTail);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

#ifndef _WIN32
// Windows has no address-space cap a process can set on itself, nor named pipes in folders.

// Runs in a child process whose address space may grow by 64 MiB: a claim of nine minutes
// would take 104 MB, the thousand frames the file holds 4 KB.
TEST_F(SampleLoadErrorTest, ArrayGrowsOnlyWithTheFramesTheFileDelivers) {
  if (kSanitized) GTEST_SKIP() << "the sanitizers need an uncapped address space";
  const std::string path = WriteFlacPromising(folder, 1, 540 * 48000);
  EXPECT_EXIT(
      {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        std::FILE* status = std::fopen("/proc/self/statm", "r");
        unsigned long pages = 0;
        if (status == nullptr || std::fscanf(status, "%lu", &pages) != 1) std::exit(2);
        std::fclose(status);
        limit.rlim_cur = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (rlim_t{64} << 20);
        setrlimit(RLIMIT_AS, &limit);
        const bool loaded = samples::LoadSample(kit, kNote, path, false) && holder().length() == 1000u;
        std::exit(loaded && messages.messages().empty() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// A pipe at the path would block the open for ever, and the message's check with it.
TEST_F(SampleLoadErrorTest, OnlyRegularFilesAreOpened) {
  const std::string pipe = folder.file("pipe.wav");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  ExpectRefused(pipe, kWavTail);
  ExpectRefused(folder.addFolder("folder.aif"), kUnreadableTail);
}
#endif

// A project naming a missing file for every holder: three messages in full, then the count.
TEST(SampleLoadMessages, OneProjectLoadShowsAFewAndCountsTheRest) {
  TempFolder folder;
  testhost::MessageCapture messages;
  instrument::Instrument instrument({folder.path(), {}});
  messages.clear();
  std::string text = "\nKestrelhollow Data Version 2.0\n";
  for (int note = 36; note <= 47; ++note) {
    text += "smp2;" + std::to_string(note) + ";;" + folder.file(std::to_string(note) + ".wav") + ";1;;0;1;0.5;;\n";
  }
  instrument.loadProject(text.data(), static_cast<int32_t>(text.size()));
  ASSERT_EQ(messages.messages().size(), 4u);
  EXPECT_EQ(messages.messages()[2].text, "The file: \"" + folder.file("38.wav") + "\"" + kMissingTail);
  EXPECT_EQ(messages.messages()[3].caption, "Sample load error");
  EXPECT_EQ(messages.messages()[3].text, "... and 9 more sample files could not be loaded.");
  // A load of its own afterwards is told in full again.
  messages.clear();
  EXPECT_FALSE(samples::LoadSample(instrument.engine().kit(), 36, folder.file("36.wav"), true));
  EXPECT_EQ(messages.messages().size(), 1u);
}

}  // namespace
