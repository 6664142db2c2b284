// Loading files into holders: every format the library reads, the holder fields a load sets
// and keeps, what a host hears of a loaded sample, and files that cannot be loaded: the user is
// told why, and the holder keeps playing what it had.
#include "samples/SampleLoader.h"

#include <gtest/gtest.h>
#include <sndfile.h>
#ifndef _WIN32
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <type_traits>
#include <vector>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "instrument/Instrument.h"
#include "platform/Files.h"
#include "platform/Paths.h"
#include "plugin/Vst.h"
#include "samples/SoundFileApi.h"
#include "support/TempFolder.h"
#include "support/MessageCapture.h"
#include "support/TestHost.h"

namespace {

using sampletest::HolderSamples;
using sampletest::TestValue;
using testhost::TempFolder;

// The holder hands its record to the library as an SF_INFO.
static_assert(sizeof(engine::SampleFileInfo) == sizeof(SF_INFO));
static_assert(std::is_same_v<samples::sndfile::Count, sf_count_t>);
static_assert(offsetof(engine::SampleFileInfo, frames) == offsetof(SF_INFO, frames));
static_assert(offsetof(engine::SampleFileInfo, sampleRate) == offsetof(SF_INFO, samplerate));
static_assert(offsetof(engine::SampleFileInfo, channels) == offsetof(SF_INFO, channels));
static_assert(offsetof(engine::SampleFileInfo, format) == offsetof(SF_INFO, format));
static_assert(offsetof(engine::SampleFileInfo, sections) == offsetof(SF_INFO, sections));
static_assert(offsetof(engine::SampleFileInfo, seekable) == offsetof(SF_INFO, seekable));

constexpr uint8_t kNote = 38;

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

class SampleLoaderTest : public ::testing::Test {
 protected:
  engine::SampleHolder& holder() { return kit.holder(kNote); }
  TempFolder folder;
  testhost::MessageCapture messages;
  engine::Kit kit;
};

// Every format the library reads: the holder gets the channels that play (of more than two the
// first two, and only they are kept), interleaved, at the file's rate, as the library reads them.
// Each load keeps the holder's settings and name, and plays the whole sample until the length
// fraction is set again.
TEST_F(SampleLoaderTest, HolderGetsTheChannelsThatPlayInterleavedAtTheFileRate_AndKeepsItsSettings) {
  holder().setName("Snare");
  holder().setPan(0.2f);
  holder().setVolume(0.5f);
  holder().setPitch(-3);
  holder().setSwing(true);
  holder().setMuteState(engine::kMuted);
  holder().setLengthFraction(0.5f);
  const struct {
    const char* name;
    int format;
    int channels;
  } formats[] = {
      {"mono16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1},   {"stereo24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2},
      {"stereo.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2}, {"mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1},
      {"stereo.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2},   {"quad.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4}};
  for (const auto& format : formats) {
    SCOPED_TRACE(format.name);
    const std::string path = folder.file(format.name);
    testhost::WriteSoundFile(path, format.format, format.channels, sampletest::TestSignal(2000, format.channels),
                             44100);
    SF_INFO direct{};
    const std::vector<float> read = sampletest::ReadSoundFile(path, direct);
    const int kept = std::min(format.channels, 2);
    std::vector<float> expected;
    for (size_t item = 0; item < read.size(); ++item) {
      if (static_cast<int>(item % static_cast<size_t>(format.channels)) < kept) expected.push_back(read[item]);
    }

    ASSERT_TRUE(samples::LoadSample(kit, kNote, path, false));
    EXPECT_TRUE(messages.messages().empty());
    const engine::SampleBuffer* buffer = holder().sample();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->channels, static_cast<uint32_t>(kept));
    EXPECT_EQ(buffer->frames, static_cast<uint32_t>(direct.frames));
    EXPECT_EQ(holder().length(), buffer->frames);
    EXPECT_EQ(holder().end(), buffer->frames);
    EXPECT_EQ(holder().fileInfo().sampleRate, 44100);  // recorded, not resampled
    EXPECT_EQ(holder().fileInfo().channels, format.channels);
    EXPECT_EQ(holder().fileInfo().format, direct.format);
    EXPECT_EQ(holder().path(), path);
    EXPECT_EQ(HolderSamples(holder()), expected);
    EXPECT_EQ(holder().name(), "Snare");
    EXPECT_FLOAT_EQ(holder().pan(), 0.2f);
    EXPECT_FLOAT_EQ(holder().volume(), 0.5f);
    EXPECT_EQ(holder().pitch(), -3);
    EXPECT_TRUE(holder().swing());
    EXPECT_EQ(holder().muteState(), engine::kMuted);
    EXPECT_FLOAT_EQ(holder().lengthFraction(), 0.5f);
    holder().setLengthFraction(0.5f);
    EXPECT_EQ(holder().end(), buffer->frames / 2);
  }
}

// Values that are no audio would put NaN into a host's mix: they load as silence, and one
// warning per file says how many there were.
TEST_F(SampleLoaderTest, ValuesThatAreNoAudioLoadAsSilenceWithOneWarning) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  const struct {
    int subtype;
    std::vector<double> written;
    std::vector<float> loaded;
    const char* count;
  } cases[] = {{SF_FORMAT_FLOAT,
                {0.5, kNan, kInfinity, -kInfinity, 2000, -0.25, 999, -1000},
                {0.5f, 0, 0, 0, 0, -0.25f, 999, -1000},
                "4 sample values that are"},
               // Beyond a float's range: infinite once converted.
               {SF_FORMAT_DOUBLE, {1e300, 0.5}, {0.0f, 0.5f}, "1 sample value that is"}};
  for (const auto& test : cases) {
    SCOPED_TRACE(test.count);
    const std::string path = folder.file(std::to_string(test.subtype) + ".wav");
    SF_INFO info{0, 48000, 2, SF_FORMAT_WAV | test.subtype, 0, 0};
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_write_double(file, test.written.data(), static_cast<sf_count_t>(test.written.size()));
    sf_close(file);
    messages.clear();

    ASSERT_TRUE(samples::LoadSample(kit, kNote, path, false));
    EXPECT_EQ(HolderSamples(holder()), test.loaded);
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "Warning");
    EXPECT_EQ(messages.messages()[0].text, "The file: \"" + path + "\" \nholds " + test.count +
                                               " not a number, infinite or beyond +/-1000 (about +60 dBFS). They "
                                               "play as silence.");
  }
}

// A note outside the kit fails silently; a path a project could not store is refused before
// the holder records it.
TEST_F(SampleLoaderTest, NoteOutsideTheKitOrUnstorablePathTouchesNoHolder) {
  const std::string path = sampletest::WriteTestWav(folder, "any.wav", 10, 1);
  EXPECT_FALSE(samples::LoadSample(kit, 128, path, true));
  EXPECT_FALSE(samples::LoadSample(kit, 255, path, true));
  EXPECT_TRUE(messages.messages().empty());
  for (const char* name : {"semi;colon.wav", "line\nfeed.wav", "carriage\rreturn.wav"}) {
    const std::string unstorable = folder.file(name);
    EXPECT_FALSE(samples::LoadSample(kit, kNote, unstorable, true)) << name;
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].text.rfind("The file: \"" + unstorable + "\" \ncannot be used", 0), 0u);
    messages.clear();
  }
  for (int note = 0; note < engine::kNoteCount; ++note) {
    EXPECT_TRUE(kit.holder(static_cast<uint8_t>(note)).path().empty()) << note;
    EXPECT_TRUE(kit.holder(static_cast<uint8_t>(note)).isEmpty()) << note;
  }
}

// As a host sees it: a file picked in the browser sounds in the next block; a restored one does not.
TEST(SampleLoaderInEffect, BrowserLoadAuditionsInTheNextBlock_RestoredLoadStaysSilent) {
  TempFolder folder;
  const std::string path = sampletest::WriteTestWav(folder, "hit.wav", 400, 2);
  testhost::TestHost host;
  ASSERT_TRUE(host.createInProcess());
  host.start(48000.0f, 256);
  engine::Kit& kit = host.object<plugin::Vst>().instrument().engine().kit();
  const int holder = kNote - engine::kFirstNote;

  ASSERT_TRUE(samples::LoadSample(kit, kNote, path, false));
  const testhost::Block restored = host.process(256);
  for (int frame = 0; frame < 256; ++frame) ASSERT_EQ(restored.at(2 * holder, frame), 0.0f) << frame;

  ASSERT_TRUE(samples::LoadSample(kit, kNote, path, true));
  const testhost::Block browsed = host.process(256);
  const float master = host.object<plugin::Vst>().instrument().engine().kitPlayer().masterLevel();
  for (int frame = 0; frame < 256; ++frame) {
    ASSERT_FLOAT_EQ(browsed.at(2 * holder, frame), TestValue(frame, 0) * master) << frame;
    ASSERT_FLOAT_EQ(browsed.at(2 * holder + 1, frame), TestValue(frame, 1) * master) << frame;
  }
}

// A holder with a sample that a failed load must keep playing.
class SampleLoadErrorTest : public SampleLoaderTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(samples::LoadSample(kit, kNote, sampletest::WriteTestWav(folder, "previous.wav", 300, 2), false));
    holder().setName("Shaker");
    previous = HolderSamples(holder());
    messages.clear();
  }

  // A failed load shows one message and changes only the holder's path and name.
  void expectRefused(const std::string& path, const std::string& textTail) {
    EXPECT_FALSE(samples::LoadFile(holder(), "Renamed", path, true));
    ASSERT_EQ(messages.messages().size(), 1u);
    EXPECT_EQ(messages.messages()[0].caption, "Sample load error");
    EXPECT_EQ(messages.messages()[0].text, "The file: \"" + path + "\"" + textTail);
    EXPECT_EQ(holder().path(), path);
    EXPECT_EQ(holder().name(), "Renamed");
    EXPECT_EQ(HolderSamples(holder()), previous);
    EXPECT_EQ(holder().length(), 300u);
    EXPECT_EQ(holder().end(), 300u);
    EXPECT_FALSE(holder().isPreviewPlaying());
    // The file information still describes the sample being played.
    EXPECT_EQ(holder().fileInfo().frames, 300);
    EXPECT_EQ(holder().fileInfo().channels, 2);
    messages.clear();
  }

  // A FLAC file whose header promises another number of frames than the 1000 it holds.
  std::string writeFlacPromising(int channels, uint64_t promisedFrames) {
    const std::string path = folder.file("promise.flac");
    testhost::WriteSoundFile(path, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, channels, sampletest::TestSignal(1000, channels));
    sampletest::SetFlacFrameCount(path, promisedFrames);
    return path;
  }

  std::vector<float> previous;
};

// The message names the file and tells a missing file from a broken one, by the upper-cased
// extension; the previous sample still plays.
TEST_F(SampleLoadErrorTest, MissingOrBrokenFileIsNamed_AndThePreviousSampleStillPlays) {
  expectRefused(folder.file("gone/Snare 2.wav"), kMissingTail);
  folder.addFolder("kit.wav");
  const std::vector<std::pair<std::string, std::string>> cases{
      {"broken.wav", kWavTail},
      {"broken.Wav", kWavTail},
      {"broken.WAV", kWavTail},
      {"broken.aif", kUnreadableTail},
      {"broken", kUnreadableTail},
      {"broken.wav.bak", kUnreadableTail},
      {"kit.wav/broken", kUnreadableTail},  // a full stop in a folder name is no extension
  };
  for (const auto& [name, tail] : cases) {
    SCOPED_TRACE(name);
    folder.write(name, "RIFF but not really a sound at all");
    expectRefused(folder.file(name), tail);
  }
  // A path too long for the file calls is unreadable.
  std::string path = folder.path();
  while (!platform::PathIsTooLong(path)) path += std::string("deeper") + platform::kPathSeparator;
  expectRefused(path + "kick.wav", kUnreadableTail);
#ifndef _WIN32
  // Only regular files are opened: a pipe at the path would block the open for ever, and the
  // message's check with it. Windows has no named pipes in folders.
  const std::string pipe = folder.file("pipe.wav");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  expectRefused(pipe, kWavTail);
  expectRefused(folder.addFolder("folder.aif"), kUnreadableTail);
#endif
  holder().startPreview();
  EXPECT_FLOAT_EQ(holder().previewFrame().right, sampletest::TestValue(0, 1));
}

TEST_F(SampleLoadErrorTest, ClaimBeyondWhatAHolderTakesIsRefusedFromTheHeader) {
  // 256 MB of floats of the first two channels at most: a mono frame more than 64 Mi, a
  // stereo frame more than 32 Mi; ten minutes at 192 kHz (115.2 M frames) of more channels
  // than two, counted as two; frames beyond 32 bits. Each is refused before a frame is decoded.
  expectRefused(writeFlacPromising(1, (uint64_t{1} << 26) + 1), kTooLongTail);
  expectRefused(writeFlacPromising(2, (uint64_t{1} << 25) + 1), kTooLongTail);
  expectRefused(writeFlacPromising(3, 600 * 192000), kTooLongTail);
  expectRefused(writeFlacPromising(1, (uint64_t{1} << 32) + 1000), kTooLongTail);
  // A FLAC file of nothing but its 42-byte header, claiming 2^32 - 1 frames.
  std::string header = testhost::ReadBytes(writeFlacPromising(1, 0xFFFFFFFFu)).substr(0, 42);
  header[4] = static_cast<char>(0x80 | header[4]);  // the stream information is the last block
  folder.write("header-only.flac", header);
  expectRefused(folder.file("header-only.flac"), kTooLongTail);
}

// A header that promises nine minutes of a file that holds a thousand frames: the holder ends
// where the data ends, and its array grows only with the frames the file delivers. The second is
// checked in a child process whose address space may grow by 64 MiB: the claim would take
// 104 MB, the thousand frames 4 KB.
TEST_F(SampleLoadErrorTest, FileShorterThanItsHeaderEndsWhereItsDataEnds_AndTakesOnlyItsMemory) {
  const std::string path = writeFlacPromising(1, 540 * 48000);
#if !defined(_WIN32) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
  // Windows has no address-space cap a process can set on itself; the sanitizers need an uncapped one.
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
#endif
  ASSERT_TRUE(samples::LoadSample(kit, kNote, path, false));
  EXPECT_TRUE(messages.messages().empty());
  ASSERT_EQ(holder().length(), 1000u);
  EXPECT_EQ(holder().fileInfo().frames, 1000);
  const std::vector<float> played = HolderSamples(holder());
  ASSERT_EQ(played.size(), 1000u);
  for (int frame = 0; frame < 1000; ++frame) ASSERT_NEAR(played[frame], sampletest::TestValue(frame, 0), 1e-4) << frame;
}

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
