// Which message a broken file gets depends on its upper-cased extension; how that is found.
#include "samples/FileExtension.h"

#include <gtest/gtest.h>

namespace {

TEST(UpperCaseExtension, IsThePartAfterTheLastFullStopWithAsciiLettersRaised) {
  EXPECT_EQ(samples::UpperCaseExtension("/a/b/kick.wav"), "WAV");
  EXPECT_EQ(samples::UpperCaseExtension("Kick.Wav"), "WAV");
  EXPECT_EQ(samples::UpperCaseExtension("take.2.aiff"), "AIFF");
  EXPECT_EQ(samples::UpperCaseExtension("snare.fl4c"), "FL4C");
  EXPECT_EQ(samples::UpperCaseExtension("snare."), "");
  EXPECT_EQ(samples::UpperCaseExtension("noextension"), "");
  EXPECT_EQ(samples::UpperCaseExtension(""), "");
  // The last full stop may lie in a folder name.
  EXPECT_EQ(samples::UpperCaseExtension("/my.kits/kick"), "KITS/KICK");
  // Only a to z change; other bytes stay as they are.
  EXPECT_EQ(samples::UpperCaseExtension("x.w\xe4v_"), "W\xe4V_");
}

}  // namespace
