// kestrelhollow-render under what only POSIX systems do to a program: signals (an interrupt,
// a terminal hanging up, a request to terminate) and limits on the size of its files.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include "MidiFile.h"
#include "ProjectText.h"
#include "RenderTool.h"
#include "support/AllocationCounter.h"
#include "support/TempFolder.h"

namespace rendertest {
namespace {

using namespace std::chrono_literals;

// Each signal ends the render cleanly and leaves no file; on a terminal, the progress bar's
// line ends before the message.
TEST(RenderToolSignals, EachEndsTheRenderCleanlyAndLeavesNoFile) {
  const testhost::TempFolder folder;
  for (const testhost::ProcessSettings& process :
       {testhost::ProcessSettings{.signal = SIGINT, .signalAfter = 500ms},
        {.signal = SIGHUP, .signalAfter = 500ms},
        {.signal = SIGTERM, .signalAfter = 500ms},
        {.timeout = 60s, .signal = SIGINT, .signalOnText = "Rendering [", .errorToTerminal = true}}) {
    // Far longer than the test waits: the render is still running when the signal comes.
    const ToolRun run =
        RunRender({"--seconds", "36000", "--block", "16", "-o", folder.file("long.wav")}, {.process = process});
    EXPECT_EQ(run.exitCode, 130) << "signal " << process.signal << ": " << run.err;
    EXPECT_TRUE(std::filesystem::is_empty(folder.path())) << process.signal;
    const size_t message = run.err.find("kestrelhollow-render: Error: Interrupted");
    ASSERT_NE(message, std::string::npos) << run.err;
    if (process.errorToTerminal) {
      EXPECT_LT(run.err.find("Rendering ["), message) << run.err;
      EXPECT_EQ(run.err[message - 1], '\n') << run.err;
    }
  }
}

TEST(RenderToolLimits, BothWritersPassOnTheSystemsReasonForAFailedWrite) {
  // Files may not grow beyond 1 KiB; two bars of the default preset take far more.
  const testhost::TempFolder folder;
  for (const char* name : {"big.wav", "big.flac"}) {
    const ToolRun run = RunRender({"--bars", "2", "-o", folder.file(name)}, {.process = {.fileSizeLimit = 1024}});
    EXPECT_EQ(run.exitCode, 5) << name << run.err;
    EXPECT_NE(run.err.find("Cannot write " + folder.file(name) + ": "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
  }
}

// Hostile inputs of many empty pieces are edited and read within a small multiple of their
// size: lists of every field, line or event took 30 to 60 times.
TEST(RenderToolLimits, EmptyFieldsLinesAndUnplayedEventsTakeNoMemoryEach) {
  if (!testhost::kAllocationsCounted) GTEST_SKIP() << "address limits do not mix with sanitizer runtimes";
  constexpr size_t kPieces = 4'000'000;
  const std::string header = "\nKestrelhollow Data Version 2.0\n";
  const std::string separators = header + "vst1;Run" + std::string(kPieces, ';') + "\n";
  const std::string lineFeeds = header + std::string(kPieces, '\n') + "seq2;0.5;0;0;\n";
  // Program changes under running status, two bytes each, and one note.
  std::string events = std::string("\0\xC0\x05", 3);
  for (size_t i = 0; i < kPieces; ++i) events += std::string("\0\x05", 2);
  events += std::string("\0\x90\x24\x40\0\xFF\x2F\0", 8);
  const std::string length{static_cast<char>(events.size() >> 24), static_cast<char>(events.size() >> 16),
                           static_cast<char>(events.size() >> 8), static_cast<char>(events.size())};
  const std::string midi = MidiFileBytes(0, {"MTrk" + length + events});
  EXPECT_TRUE(testhost::SucceedsWithinDataGrowth(3 * separators.size(), [&] {
    return render::WithSyncMode(separators, render::SyncMode::Midi).size() == separators.size() + 1;
  }));
  EXPECT_TRUE(testhost::SucceedsWithinDataGrowth(
      3 * lineFeeds.size(), [&] { return render::WithCurrentPattern(lineFeeds, 7).ends_with("seq2;0.5;0;7;\n"); }));
  EXPECT_TRUE(testhost::SucceedsWithinDataGrowth(
      3 * midi.size(), [&] { return render::ParseMidiFile(midi, 48000.0, "many.mid").messages.size() == 1; }));
}

}  // namespace
}  // namespace rendertest
