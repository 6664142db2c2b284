// Loading files into holders: every format the library reads, the holder fields a load sets
// and keeps, and what a host hears of a loaded sample.
#include "samples/SampleLoader.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstddef>
#include <limits>
#include <ostream>
#include <type_traits>
#include <vector>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "plugin/Vst.h"
#include "samples/SoundFileApi.h"
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

class SampleLoaderTest : public ::testing::Test {
 protected:
  engine::SampleHolder& holder() { return kit.holder(kNote); }
  TempFolder folder;
  testhost::MessageCapture messages;
  engine::Kit kit;
};

struct FormatCase {
  const char* name;
  int format;
  int channels;
  float tolerance;  // against the written signal; lossy formats are compared with the library's own read
};

void PrintTo(const FormatCase& format, std::ostream* out) { *out << format.name; }

class SampleLoaderFormatTest : public SampleLoaderTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(SampleLoaderFormatTest, HolderGetsTheChannelsThatPlayInterleavedAtTheFileRate) {
  const FormatCase& format = GetParam();
  constexpr int kFrames = 2000;
  const std::string path = folder.file(format.name);
  testhost::WriteSoundFile(path, format.format, format.channels, sampletest::TestSignal(kFrames, format.channels),
                             44100);
  SF_INFO direct{};
  const std::vector<float> read = sampletest::ReadSoundFile(path, direct);
  // Of more than two channels the first two play, and only they are kept.
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
  if (format.tolerance > 0.0f) {
    ASSERT_EQ(buffer->frames, static_cast<uint32_t>(kFrames));
    for (int frame = 0; frame < kFrames; frame += 7) {
      for (int channel = 0; channel < kept; ++channel) {
        ASSERT_NEAR(buffer->samples[static_cast<size_t>(frame * kept + channel)],
                    TestValue(frame, channel), format.tolerance);
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SampleLoaderFormatTest,
    ::testing::Values(FormatCase{"mono16.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 1.0f / 16384},
                      FormatCase{"stereo24.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 2, 1.0f / 4194304},
                      FormatCase{"stereo.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 2, 1.0f / 16384},
                      FormatCase{"mono.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 1, 1.0f / 16384},
                      FormatCase{"stereo.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 2, 0.0f},
                      FormatCase{"quad.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 4, 1e-7f}),
    [](const auto& test) {
      std::string name = test.param.name;
      for (char& letter : name) letter = letter == '.' ? '_' : letter;
      return name;
    });

TEST_F(SampleLoaderTest, LoadKeepsSettingsAndName_AndPlaysTheWholeSample) {
  ASSERT_TRUE(samples::LoadSample(kit, kNote, sampletest::WriteTestWav(folder, "first.wav", 300, 2), false));
  holder().setName("Snare");
  holder().setPan(0.2f);
  holder().setVolume(0.5f);
  holder().setPitch(-3);
  holder().setSwing(true);
  holder().setMuteState(engine::kMuted);
  holder().setLengthFraction(0.5f);
  ASSERT_EQ(holder().end(), 150u);

  ASSERT_TRUE(samples::LoadSample(kit, kNote, sampletest::WriteTestWav(folder, "next.wav", 800, 1), false));

  EXPECT_EQ(holder().name(), "Snare");
  EXPECT_EQ(holder().length(), 800u);
  EXPECT_EQ(holder().end(), 800u);  // the whole sample until the fraction is set again
  EXPECT_FLOAT_EQ(holder().lengthFraction(), 0.5f);
  EXPECT_FLOAT_EQ(holder().pan(), 0.2f);
  EXPECT_FLOAT_EQ(holder().volume(), 0.5f);
  EXPECT_EQ(holder().pitch(), -3);
  EXPECT_TRUE(holder().swing());
  EXPECT_EQ(holder().muteState(), engine::kMuted);
}

// Values that are no audio would put NaN into a host's mix: they load as silence, and one
// warning per file says how many there were.
TEST_F(SampleLoaderTest, ValuesThatAreNoAudioLoadAsSilenceWithOneWarning) {
  constexpr double kNan = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  struct Case {
    const char* name;
    int subtype;
    std::vector<double> written;
    std::vector<float> loaded;
    const char* count;
  };
  const std::vector<Case> cases{
      {"float.wav",
       SF_FORMAT_FLOAT,
       {0.5, kNan, kInfinity, -kInfinity, 2000, -0.25, 999, -1000},
       {0.5f, 0, 0, 0, 0, -0.25f, 999, -1000},
       "4 sample values that are"},
      // Beyond a float's range: infinite once converted.
      {"double.wav", SF_FORMAT_DOUBLE, {1e300, 0.5}, {0.0f, 0.5f}, "1 sample value that is"},
  };
  for (const Case& test : cases) {
    const std::string path = folder.file(test.name);
    SF_INFO info{};
    info.samplerate = 48000;
    info.channels = 2;
    info.format = SF_FORMAT_WAV | test.subtype;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr);
    sf_write_double(file, test.written.data(), static_cast<sf_count_t>(test.written.size()));
    sf_close(file);
    messages.clear();

    ASSERT_TRUE(samples::LoadSample(kit, kNote, path, false)) << test.name;
    EXPECT_EQ(HolderSamples(holder()), test.loaded) << test.name;
    ASSERT_EQ(messages.messages().size(), 1u) << test.name;
    EXPECT_EQ(messages.messages()[0].caption, "Warning");
    EXPECT_EQ(messages.messages()[0].text, "The file: \"" + path + "\" \nholds " + test.count +
                                               " not a number, infinite or beyond +/-1000 (about +60 dBFS). They "
                                               "play as silence.");
  }
}

TEST_F(SampleLoaderTest, NoteOutsideTheKitFailsSilentlyAndTouchesNoHolder) {
  const std::string path = sampletest::WriteTestWav(folder, "any.wav", 10, 1);
  EXPECT_FALSE(samples::LoadSample(kit, 128, path, true));
  EXPECT_FALSE(samples::LoadSample(kit, 255, path, true));
  EXPECT_TRUE(messages.messages().empty());
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

}  // namespace
