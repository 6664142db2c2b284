// Which message a broken file gets depends on its upper-cased extension; how that is found.
#include "samples/FileExtension.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(UpperCaseExtension, IsThePartAfterTheLastFullStopWithAsciiLettersRaised) {
  // The last full stop may lie in a folder name; only a to z change, other bytes stay as they are.
  const std::vector<std::pair<std::string, std::string>> cases{
      {"/a/b/kick.wav", "WAV"}, {"Kick.Wav", "WAV"}, {"take.2.aiff", "AIFF"}, {"snare.fl4c", "FL4C"}, {"snare.", ""},
      {"noextension", ""},      {"", ""},            {"/my.kits/kick", "KITS/KICK"}, {"x.w\xe4v_", "W\xe4V_"}};
  for (const auto& [path, extension] : cases) EXPECT_EQ(samples::UpperCaseExtension(path), extension) << path;
}

}  // namespace
