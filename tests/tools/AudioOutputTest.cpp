// Names of the files that one render writes.
#include "AudioOutput.h"

#include <gtest/gtest.h>

namespace render {
namespace {

TEST(AudioOutputNames, PairFilesAreNumberedBeforeTheExtension) {
  EXPECT_EQ(AudioOutput::PairFileName("out/demo.wav", 1), "out/demo-01.wav");
  EXPECT_EQ(AudioOutput::PairFileName("a.b/demo", 12), "a.b/demo-12");
}

}  // namespace
}  // namespace render
