// Without the library the first load request tells the user once, and every later request
// fails silently. Its own process: the binding is attempted once per process.
#include <gtest/gtest.h>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "platform/Paths.h"
#include "samples/AudioFileLibrary.h"
#include "samples/SampleLoader.h"
#include "support/MessageCapture.h"

namespace {

TEST(BindingNotFound, FirstRequestShowsWhereToPutTheLibrary_LaterRequestsFailSilently) {
  testhost::TempFolder folder;
  const std::string directory = folder.file("plugin") + platform::kPathSeparator;
  samples::SetLibrarySearch({directory, false});
  const std::string path = sampletest::WriteTestWav(folder, "kick.wav", 100, 1);
  testhost::MessageCapture messages;
  engine::Kit kit;

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, true));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, "Loading " KH_SNDFILE_NAME " Error");
  EXPECT_EQ(messages.messages()[0].text,
            "The " KH_SNDFILE_NAME " was not found. No samples can be loaded.\nClose down Kestrelhollow and place the "
            KH_SNDFILE_NAME " in the " + directory + " directory.\nThen restart your application.");

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, true));
  EXPECT_FALSE(samples::LoadFile(kit.holder(37), "Snare", path, false));
  EXPECT_EQ(messages.messages().size(), 1u);
  // Nothing of the holders was touched.
  EXPECT_TRUE(kit.holder(36).path().empty());
  EXPECT_TRUE(kit.holder(37).name().empty());
  EXPECT_TRUE(kit.holder(36).isEmpty());
  EXPECT_FALSE(kit.holder(36).isPreviewPlaying());
}

}  // namespace
