// A library that lacks one of the entry points is refused once, with its own message, and
// sample loading stays disabled. Its own process: the binding is attempted once per process.
#include <gtest/gtest.h>

#include "SoundFiles.h"
#include "engine/Kit.h"
#include "samples/AudioFileLibrary.h"
#include "samples/SampleLoader.h"
#include "support/MessageCapture.h"

namespace {

TEST(BindingWrongVersion, LibraryWithoutStrErrorIsRefusedOnce_LaterRequestsFailSilently) {
  // The plug-in's folder is searched before the system's path, so the incomplete library
  // there is found although a complete one is installed.
  samples::SetLibrarySearch({KH_INCOMPLETE_SNDFILE_DIR "/", true});
  testhost::TempFolder folder;
  const std::string path = sampletest::WriteTestWav(folder, "kick.wav", 100, 1);
  testhost::MessageCapture messages;
  engine::Kit kit;

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, false));
  ASSERT_EQ(messages.messages().size(), 1u);
  EXPECT_EQ(messages.messages()[0].caption, "Loading " KH_SNDFILE_NAME " Error");
  EXPECT_EQ(messages.messages()[0].text, "The version of the " KH_SNDFILE_NAME " is probably wrong.");

  EXPECT_FALSE(samples::LoadSample(kit, 36, path, false));
  EXPECT_EQ(messages.messages().size(), 1u);
  EXPECT_TRUE(kit.holder(36).path().empty());
  EXPECT_TRUE(kit.holder(36).isEmpty());
}

}  // namespace
