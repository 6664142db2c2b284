// The README's render examples, run as a user runs them: in order, in an empty folder, with
// the tool on the PATH. The README cannot promise what the tool does not do.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/TempFolder.h"

namespace rendertest {
namespace {

// The shell block that follows the line introducing the examples.
std::string ExamplesBlock(const std::string& readme) {
  const auto intro = readme.find("\nExamples, in an empty folder");
  if (intro == std::string::npos) return "";
  const std::string fence = "```sh\n";
  const auto start = readme.find(fence, intro);
  if (start == std::string::npos) return "";
  const auto end = readme.find("```", start + fence.size());
  return end == std::string::npos ? "" : readme.substr(start + fence.size(), end - start - fence.size());
}

TEST(ReadmeExamples, RunAsWrittenInAnEmptyFolder) {
  const std::string examples = ExamplesBlock(testhost::ReadBytes(KH_README_PATH));
  ASSERT_NE(examples.find("kestrelhollow-render"), std::string::npos) << "no examples found in the README";
  testhost::TempFolder folder;
  folder.write("examples.sh", examples);
  std::filesystem::create_directory(folder.file("work"));
  const std::string tools = std::filesystem::path(KH_RENDER_PATH).parent_path().string();
  const std::string command =
      "cd '" + folder.file("work") + "' && PATH='" + tools + "':\"$PATH\" bash -eu ../examples.sh > ../log 2>&1";
  const int status = std::system(command.c_str());
  const std::string log = testhost::ReadBytes(folder.file("log"));
  ASSERT_EQ(status, 0) << log;
  // No example warns (the default preset's patterns leave headroom).
  EXPECT_EQ(log.find("Warning"), std::string::npos) << log;
  for (const char* file :
       {"groove.wav", "fill.flac", "song.fxp", "project.txt", "stems/song-01.wav", "stems/song-12.wav", "drums.mid",
        "drums.wav", "project.fxp", "patterns.mid", "fill.mid", "fill-from-midi.wav"}) {
    EXPECT_TRUE(std::filesystem::exists(folder.file(std::string("work/") + file))) << file << "\n" << log;
  }
}

}  // namespace
}  // namespace rendertest
