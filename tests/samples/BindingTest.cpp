// Without a usable library the first load request tells the user once, and every later request
// fails silently, touching no holder. Built twice, each program its own process, since the
// binding is attempted once per process: without the library (KH_INCOMPLETE_SNDFILE_DIR unset),
// and with one that lacks sf_strerror, found first in the plug-in's folder although a complete
// one is installed.
#include <gtest/gtest.h>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "platform/Paths.h"
#include "samples/AudioFileLibrary.h"
#include "samples/SampleLoader.h"
#include "support/MessageCapture.h"

namespace {

TEST(Binding, FirstRequestTellsWhyNoSampleLoads_LaterRequestsFailSilently) {
  testhost::TempFolder folder;
#ifdef KH_INCOMPLETE_SNDFILE_DIR
  samples::SetLibrarySearch({KH_INCOMPLETE_SNDFILE_DIR "/", true});
  const std::string text = "The version of the " KH_SNDFILE_NAME " is probably wrong.";
#else
  const std::string directory = folder.file("plugin") + platform::kPathSeparator;
  samples::SetLibrarySearch({directory, false});
  const std::string text = "The " KH_SNDFILE_NAME
                           " was not found. No samples can be loaded.\nClose down "
                           "Kestrelhollow and place the " KH_SNDFILE_NAME " in the " +
                           directory + " directory.\nThen restart your application.";
#endif
  const std::string path = sampletest::WriteTestWav(folder, "kick.wav", 100, 1);
  testhost::MessageCapture messages;
  engine::Kit kit;

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, true));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, "Loading " KH_SNDFILE_NAME " Error");
  EXPECT_EQ(messages.messages()[0].text, text);

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, true));
  EXPECT_FALSE(samples::LoadFile(kit.holder(37), "Snare", path, false));
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_TRUE(kit.holder(36).path().empty());
  EXPECT_TRUE(kit.holder(37).name().empty());
  EXPECT_TRUE(kit.holder(36).isEmpty());
  EXPECT_FALSE(kit.holder(36).isPreviewPlaying());
}

}  // namespace
