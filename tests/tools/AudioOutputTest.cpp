// What may go into the files that one render writes.
#include "AudioOutput.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <limits>

#include "Failure.h"
#include "support/TempFolder.h"

namespace render {
namespace {

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
